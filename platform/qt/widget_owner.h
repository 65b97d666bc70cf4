// The hook by which a window built on a QWidget lends that widget to the platform's dialogs
// (as their parent). A window class derives from Window and from WidgetOwner.
#pragma once

#include "platform/window.h"

class QWidget;

namespace toven::platform::qt {

class WidgetOwner {
  public:
    virtual QWidget* widget() const = 0;

  protected:
    ~WidgetOwner() = default;
};

// The widget a dialog owned by `owner` takes as its parent; null for no owner, an offscreen
// window, or a destroyed one.
inline QWidget* owner_widget(Window* owner) {
    auto* widget_owner = dynamic_cast<WidgetOwner*>(owner);
    return widget_owner != nullptr ? widget_owner->widget() : nullptr;
}

}  // namespace toven::platform::qt
