// The hook by which a window built on a QWidget lends that widget to the platform's dialogs
// (as their parent). A window class derives from Window and from WidgetOwner.
#pragma once

class QWidget;

namespace toven::platform::qt {

class WidgetOwner {
  public:
    virtual QWidget* widget() const = 0;

  protected:
    ~WidgetOwner() = default;
};

}  // namespace toven::platform::qt
