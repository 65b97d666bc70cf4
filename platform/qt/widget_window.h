// A screen window on Qt: a top-level frame with an optional menu bar over a client area that
// shows the window's backing image. The Qt widgets only translate their events into messages
// for the window procedure. Internal to the platform layer.
#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/qt/picture_source.h"
#include "platform/qt/shared_painter.h"
#include "platform/qt/waiting_input.h"
#include "platform/qt/widget_owner.h"
#include "platform/window.h"
#include "platform/window_system.h"

class QMenuBar;

namespace toven::platform::qt {

class WidgetWindow;

// The client area: paints the backing image and turns mouse, key and size events into
// messages. It takes the keyboard while it holds no controls.
class ClientArea final : public QWidget {
  public:
    ClientArea(WidgetWindow* window, QWidget* parent);
    void detach() { window_ = nullptr; }
    // The window's waiting input at the event loop's next round, unless the window has gone.
    void deliver_later();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    Point pixel_at(const QMouseEvent* event) const;
    bool covers(Point pixel) const;

    WidgetWindow* window_;
};

// The top-level frame: places the menu bar and the client area, and turns the close box into
// WM_CLOSE (the window procedure decides whether the window goes).
class FrameWidget final : public QWidget {
  public:
    FrameWidget(WidgetWindow* window, QWidget* owner);
    void detach() { window_ = nullptr; }
    void set_menu_bar(QMenuBar* bar);
    ClientArea* client() const { return client_; }
    QMenuBar* menu_bar() const { return menu_bar_; }
    void place_children();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    WidgetWindow* window_;
    QMenuBar* menu_bar_ = nullptr;
    ClientArea* client_;
};

class WidgetWindow final : public Window, public WidgetOwner, public PictureSource {
  public:
    WidgetWindow(const WindowClass& window_class, const std::string& title, WidgetWindow* owner);

    Rect client_rect() const override;
    Device* get_device() override;
    void release_device(Device* device) override;
    void invalidate(const Rect& rect) override;
    QWidget* widget() const override { return frame_; }  // null once destroyed
    QWidget* client_widget() const;                      // null once destroyed
    FrameWidget* frame() const { return frame_; }        // null once destroyed

    // Calls the procedure; a destroyed window takes no more messages and answers 0.
    std::intptr_t dispatch(unsigned message, std::uintptr_t wparam, std::intptr_t lparam);
    // A left button press made `made_at` (the event's time). The procedure answers a press at
    // once, and the answer may take long (a whole page); presses made meanwhile waited in the
    // queue behind it, and each would start a page over one not yet seen: they are dropped.
    void press(std::uint64_t made_at, const Input& input);
    // Input from the client area and the controls. What may wait (waiting_input.h) reaches
    // the procedure at the event loop's next round, joined with what follows it; any other
    // input delivers what waits first, so the messages keep the order of the events.
    void input(const Input& input);
    // From the client area at the round after input was left waiting.
    void delivery_due();

    // One WM_TIMER with the id, `milliseconds` after the last call for it.
    void set_timer(std::uintptr_t id, int milliseconds);
    void kill_timer(std::uintptr_t id);
    void destroy();
    bool destroyed() const { return frame_ == nullptr; }

    // Device pixels to a screen unit (Qt's device pixel ratio).
    qreal pixel_ratio() const override;
    // From the client area, in screen units: a new size clears the backing image to white at
    // the new size in device pixels, which go to the procedure.
    void client_resized(QSize screen_size);
    // From a window device: what it drew is shown at the next paint.
    void drawn();
    // For the client area's paint: the backing image with everything drawn so far.
    const QImage& image_to_show();
    // The client area's part of the backing image.
    const QImage& picture() const override;
    QSize image_size() const { return image_.size(); }

    // The busy cursor over the whole window while at least one caller asks for it.
    void show_busy(bool busy);
    bool shows_busy() const { return busy_ > 0; }

    WidgetWindow* owner() const { return owner_; }
    std::string title;

  private:
    ~WidgetWindow() override = default;  // a destroyed window frees itself once no device is out
    void reclaim_when_unused();
    bool waited_behind_last_press(std::uint64_t made_at) const;
    std::intptr_t dispatch_input(const Input& input);
    void queue_delivery();
    void deliver_waiting();

    WindowProcedure procedure_;
    WidgetWindow* owner_;
    std::vector<WidgetWindow*> owned_;
    QImage image_;
    mutable SharedPainter painter_{&image_};
    mutable QImage picture_;
    FrameWidget* frame_;
    QSize reported_size_{-1, -1};
    int devices_out_ = 0;
    int busy_ = 0;
    std::optional<Input> waiting_;
    std::map<std::uintptr_t, std::unique_ptr<QTimer>> timers_;
    std::uint64_t last_press_ = 0;  // when the last press answered was made
    qint64 last_answer_ms_ = 0;     // how long its answer took
    bool update_pending_ = false;
    bool delivery_queued_ = false;
    bool shown_ = false;  // painted on the screen at least once
    bool destroying_ = false;
    bool reclaim_scheduled_ = false;
};

// The window for a public pointer, or null for windows that are not screen windows.
WidgetWindow* widget_window(const Window* window);

// Every screen window not yet destroyed, oldest first.
const std::vector<WidgetWindow*>& screen_windows();

}  // namespace toven::platform::qt
