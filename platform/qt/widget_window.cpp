#include "platform/qt/widget_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <algorithm>
#include <array>
#include <utility>

#include "platform/qt/controls.h"
#include "platform/qt/device_pixels.h"
#include "platform/qt/text_bytes.h"
#include "platform/qt/window_device.h"

namespace toven::platform::qt {

namespace {

std::vector<WidgetWindow*> windows_on_screen;

// The modifier keys held when the input message being handled was made.
Qt::KeyboardModifiers held_at_message;

// Mouse positions go out in device pixels as unsigned 16-bit halves, as the old messages
// carried them.
std::intptr_t position_lparam(Point at) {
    return make_lparam(at.x, at.y);
}

std::uintptr_t held_flags(const QMouseEvent* event) {
    std::uintptr_t flags = 0;
    flags |= (event->buttons() & Qt::LeftButton) ? MK_LBUTTON : 0;
    flags |= (event->buttons() & Qt::RightButton) ? MK_RBUTTON : 0;
    flags |= (event->modifiers() & Qt::ShiftModifier) ? MK_SHIFT : 0;
    flags |= (event->modifiers() & Qt::ControlModifier) ? MK_CONTROL : 0;
    return flags;
}

Input mouse_input(unsigned message, const QMouseEvent* event, Point at) {
    return {message, held_flags(event), position_lparam(at), event->modifiers()};
}

// The keys a window procedure is told of, with their virtual-key codes.
constexpr std::array<std::pair<int, unsigned>, 10> reported_keys{{
    {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL},
    {Qt::Key_PageUp, VK_PRIOR},
    {Qt::Key_PageDown, VK_NEXT},
    {Qt::Key_End, VK_END},
    {Qt::Key_Home, VK_HOME},
    {Qt::Key_Left, VK_LEFT},
    {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT},
    {Qt::Key_Down, VK_DOWN},
}};

std::optional<unsigned> virtual_key(int qt_key) {
    for (const auto& [key, code] : reported_keys) {
        if (key == qt_key) {
            return code;
        }
    }
    return std::nullopt;
}

std::intptr_t key_lparam(const QKeyEvent* event) {
    constexpr std::intptr_t one_press = 1;
    constexpr std::intptr_t was_down = std::intptr_t{1} << 30;
    return one_press | (event->isAutoRepeat() ? was_down : 0);
}

// An owned window is a dialog to the window system, which is the kind of window that X11
// window managers keep above its owner and minimise with it (WM_TRANSIENT_FOR); the hints
// give it the buttons of an ordinary frame. Qt makes the owner's window its transient parent.
Qt::WindowFlags frame_flags(const QWidget* owner) {
    if (owner == nullptr) {
        return Qt::Window;
    }
    return Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
           Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint;
}

// A backing image of `size` device pixels. Its resolution is the screen's: where a screen
// unit is `ratio` pixels, so many more pixels make a logical inch, and text sized in points
// keeps its size on the screen.
QImage white_image(QSize size, qreal ratio) {
    QImage image(std::max(size.width(), 1), std::max(size.height(), 1), QImage::Format_RGB32);
    image.fill(Qt::white);
    set_pixel_ratio(image, ratio);
    return image;
}

}  // namespace

ClientArea::ClientArea(WidgetWindow* window, QWidget* parent) : QWidget(parent), window_(window) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

// One pixel of the backing image to one pixel of the screen, whatever the screen's scale.
void ClientArea::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect dirty = event->rect();
    painter.fillRect(dirty, Qt::white);
    if (window_ != nullptr) {
        painter.drawImage(QRectF(dirty), window_->image_to_show(),
                          to_device_pixels(dirty, devicePixelRatioF()));
    }
}

Point ClientArea::pixel_at(const QMouseEvent* event) const {
    return to_device_pixels(event->position(), devicePixelRatioF());
}

bool ClientArea::covers(Point pixel) const {
    const QSize pixels = to_device_pixels(size(), devicePixelRatioF());
    return pixel.x >= 0 && pixel.y >= 0 && pixel.x < pixels.width() && pixel.y < pixels.height();
}

// While a button is held Qt goes on reporting moves outside the client area, where the old
// window system reported none; as unsigned words a position left of the window would read as
// one far right. Such a move is not a move over the window and gives no message.
void ClientArea::mouseMoveEvent(QMouseEvent* event) {
    const Point at = pixel_at(event);
    if (window_ != nullptr && covers(at)) {
        window_->input(mouse_input(WM_MOUSEMOVE, event, at));
    }
}

void ClientArea::mousePressEvent(QMouseEvent* event) {
    if (window_ == nullptr) {
        return;
    }
    if (event->button() == Qt::LeftButton) {
        window_->press(event->timestamp(), mouse_input(WM_LBUTTONDOWN, event, pixel_at(event)));
    } else if (event->button() == Qt::RightButton) {
        window_->input(mouse_input(WM_RBUTTONDOWN, event, pixel_at(event)));
    }
}

// Qt reports the release to the widget that saw the press, wherever the button is let go, as
// the old window system did for a window that captured the mouse: a drag always ends.
void ClientArea::mouseReleaseEvent(QMouseEvent* event) {
    if (window_ != nullptr && event->button() == Qt::RightButton) {
        window_->input(mouse_input(WM_RBUTTONUP, event, pixel_at(event)));
    }
}

void ClientArea::keyPressEvent(QKeyEvent* event) {
    const std::optional<unsigned> code = virtual_key(event->key());
    if (window_ == nullptr || !code) {
        QWidget::keyPressEvent(event);
        return;
    }
    window_->input({WM_KEYDOWN, *code, key_lparam(event), event->modifiers()});
}

// Queued behind the events already waiting, so that those of them that join what waits do so.
// The client area outlives its window's destruction, and is detached from it then.
void ClientArea::deliver_later() {
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (window_ != nullptr) {
                window_->delivery_due();
            }
        },
        Qt::QueuedConnection);
}

void ClientArea::resizeEvent(QResizeEvent* event) {
    if (window_ != nullptr) {
        window_->client_resized(event->size());
    }
}

FrameWidget::FrameWidget(WidgetWindow* window, QWidget* owner)
    : QWidget(owner, frame_flags(owner)), window_(window), client_(new ClientArea(window, this)) {}

void FrameWidget::set_menu_bar(QMenuBar* bar) {
    menu_bar_ = bar;
    bar->setParent(this);
    place_children();
}

void FrameWidget::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (window_ != nullptr) {
        window_->dispatch(WM_CLOSE, 0, 0);
    }
}

void FrameWidget::resizeEvent(QResizeEvent*) {
    place_children();
}

void FrameWidget::place_children() {
    int top = 0;
    if (menu_bar_ != nullptr) {
        top = menu_bar_->heightForWidth(width());
        if (top <= 0) {
            top = menu_bar_->sizeHint().height();
        }
        menu_bar_->setGeometry(0, 0, width(), top);
    }
    client_->setGeometry(0, top, width(), std::max(height() - top, 0));
}

WidgetWindow::WidgetWindow(const WindowClass& window_class, const std::string& window_title,
                           WidgetWindow* owner)
    : title(window_title),
      procedure_(window_class.procedure),
      owner_(owner),
      image_(white_image({1, 1}, 1)),
      frame_(new FrameWidget(this, owner != nullptr ? owner->widget() : nullptr)) {
    frame_->setWindowTitle(text_from_bytes(title));
    if (owner_ != nullptr) {
        owner_->owned_.push_back(this);
    }
    windows_on_screen.push_back(this);
}

Rect WidgetWindow::client_rect() const {
    if (frame_ == nullptr) {
        return {0, 0, std::max(reported_size_.width(), 0), std::max(reported_size_.height(), 0)};
    }
    const QSize size = to_device_pixels(frame_->client()->size(), pixel_ratio());
    return {0, 0, size.width(), size.height()};
}

QWidget* WidgetWindow::client_widget() const {
    return frame_ != nullptr ? frame_->client() : nullptr;
}

Device* WidgetWindow::get_device() {
    ++devices_out_;
    return new WindowDevice(painter_, this);
}

void WidgetWindow::release_device(Device* device) {
    if (device == nullptr) {
        return;
    }
    delete device;
    --devices_out_;
    reclaim_when_unused();
}

void WidgetWindow::invalidate(const Rect& rect) {
    if (frame_ != nullptr) {
        frame_->client()->update(to_screen_units(rect, pixel_ratio()));
    }
}

std::intptr_t WidgetWindow::dispatch(unsigned message, std::uintptr_t wparam,
                                     std::intptr_t lparam) {
    if (frame_ == nullptr || procedure_ == nullptr) {
        return 0;
    }
    return procedure_(this, message, wparam, lparam);
}

bool WidgetWindow::waited_behind_last_press(std::uint64_t made_at) const {
    if (last_answer_ms_ <= 0) {
        return false;
    }
    // Event times are milliseconds of the window system's clock, which may be 32 bits wide and
    // wrap: only their difference counts.
    const auto since = static_cast<std::int32_t>(static_cast<std::uint32_t>(made_at) -
                                                 static_cast<std::uint32_t>(last_press_));
    return since >= 0 && since < last_answer_ms_;
}

std::intptr_t WidgetWindow::dispatch_input(const Input& input) {
    held_at_message = input.held;
    return dispatch(input.message, input.wparam, input.lparam);
}

void WidgetWindow::press(std::uint64_t made_at, const Input& input) {
    deliver_waiting();
    if (waited_behind_last_press(made_at)) {
        return;
    }
    QElapsedTimer answering;
    answering.start();
    dispatch_input(input);
    // The procedure may have destroyed the window, and a box's event loop may have freed it.
    if (std::ranges::find(windows_on_screen, this) == windows_on_screen.end()) {
        return;
    }
    last_press_ = made_at;
    last_answer_ms_ = answering.elapsed();
}

void WidgetWindow::input(const Input& input) {
    if (!may_wait(input)) {
        deliver_waiting();
        dispatch_input(input);
        return;
    }
    if (waiting_) {
        if (std::optional<Input> both = joined(*waiting_, input)) {
            waiting_ = both;
            return;
        }
        deliver_waiting();
    }
    waiting_ = input;
    queue_delivery();
}

void WidgetWindow::queue_delivery() {
    if (delivery_queued_ || frame_ == nullptr) {
        return;
    }
    delivery_queued_ = true;
    frame_->client()->deliver_later();
}

void WidgetWindow::delivery_due() {
    delivery_queued_ = false;
    deliver_waiting();
}

void WidgetWindow::deliver_waiting() {
    if (std::optional<Input> waiting = std::exchange(waiting_, std::nullopt)) {
        dispatch_input(*waiting);
    }
}

void WidgetWindow::set_timer(std::uintptr_t id, int milliseconds) {
    if (frame_ == nullptr) {
        return;
    }
    std::unique_ptr<QTimer>& timer = timers_[id];
    if (timer == nullptr) {
        timer = std::make_unique<QTimer>();
        timer->setSingleShot(true);
        QObject::connect(timer.get(), &QTimer::timeout, timer.get(),
                         [this, id] { dispatch(WM_TIMER, id, 0); });
    }
    timer->start(std::max(milliseconds, 0));
}

void WidgetWindow::kill_timer(std::uintptr_t id) {
    if (auto found = timers_.find(id); found != timers_.end()) {
        found->second->stop();
    }
}

void WidgetWindow::destroy() {
    if (destroying_) {
        return;
    }
    destroying_ = true;
    for (WidgetWindow* owned : std::vector<WidgetWindow*>(owned_)) {
        owned->destroy();
    }
    // The timers stay until the window is freed: the one whose WM_TIMER led here is still
    // sending it.
    waiting_.reset();
    for (const auto& [id, timer] : timers_) {
        timer->stop();
    }
    dispatch(WM_DESTROY, 0, 0);
    destroy_controls_of(this);
    if (owner_ != nullptr) {
        std::erase(owner_->owned_, this);
    }
    std::erase(windows_on_screen, this);
    // The widgets may be in the middle of the event that led here, so Qt deletes them later;
    // detached, they forward nothing more.
    frame_->client()->detach();
    frame_->detach();
    frame_->hide();
    frame_->setParent(nullptr);
    frame_->deleteLater();
    frame_ = nullptr;
    reclaim_when_unused();
}

qreal WidgetWindow::pixel_ratio() const {
    return frame_ != nullptr ? frame_->client()->devicePixelRatioF() : 1;
}

void WidgetWindow::client_resized(QSize screen_size) {
    const qreal ratio = pixel_ratio();
    const QSize size = to_device_pixels(screen_size, ratio);
    if (size == reported_size_) {
        return;
    }
    reported_size_ = size;
    // The client area is not kept across a size change: the window shows its white
    // background until it is drawn again, and the picture takes the new size, down as well
    // as up. Until the window is first shown, though, the window system may still be
    // settling its size (a window manager rounds it to the size steps Qt asks for on a
    // screen scaled by 1.5), and what was drawn meanwhile is kept as far as it fits.
    painter_.end();
    QImage cleared = white_image(size, ratio);
    if (!shown_) {
        QPainter copier(&cleared);
        copier.drawImage(0, 0, image_);
    }
    image_ = std::move(cleared);
    picture_ = QImage();
    if (frame_ != nullptr) {
        frame_->client()->update();
    }
    constexpr std::uintptr_t size_restored = 0;
    dispatch(WM_SIZE, size_restored, make_lparam(size.width(), size.height()));
}

void WidgetWindow::show_busy(bool busy) {
    busy_ = std::max(busy_ + (busy ? 1 : -1), 0);
    if (frame_ == nullptr) {
        return;
    }
    if (busy_ > 0) {
        frame_->setCursor(Qt::WaitCursor);
    } else {
        frame_->unsetCursor();
    }
}

void WidgetWindow::drawn() {
    if (frame_ != nullptr && !update_pending_) {
        update_pending_ = true;
        frame_->client()->update();
    }
}

const QImage& WidgetWindow::image_to_show() {
    update_pending_ = false;
    shown_ = true;
    // Ending the painter draws the lines its devices hold back; the next drawing call
    // begins it again.
    painter_.end();
    return image_;
}

const QImage& WidgetWindow::picture() const {
    painter_.end();
    Rect client = client_rect();
    if (image_.width() == client.width() && image_.height() == client.height()) {
        return image_;
    }
    picture_ = image_.copy(0, 0, client.width(), client.height());
    return picture_;
}

void WidgetWindow::reclaim_when_unused() {
    if (frame_ != nullptr || devices_out_ > 0 || reclaim_scheduled_) {
        return;
    }
    reclaim_scheduled_ = true;
    // Deleted from the event loop, after the message that destroyed it has been handled.
    QMetaObject::invokeMethod(
        qApp, [this] { delete this; }, Qt::QueuedConnection);
}

WidgetWindow* widget_window(const Window* window) {
    return dynamic_cast<WidgetWindow*>(const_cast<Window*>(window));
}

const std::vector<WidgetWindow*>& screen_windows() {
    return windows_on_screen;
}

}  // namespace toven::platform::qt

namespace toven::platform {

bool is_key_down(unsigned virtual_key) {
    switch (virtual_key) {
        case VK_SHIFT:
            return qt::held_at_message.testFlag(Qt::ShiftModifier);
        case VK_CONTROL:
            return qt::held_at_message.testFlag(Qt::ControlModifier);
        default:
            return false;
    }
}

}  // namespace toven::platform
