#include <QSlider>
#include <algorithm>

#include "platform/programmer_error.h"
#include "platform/qt/controls.h"
#include "platform/window_system.h"

namespace toven::platform {

namespace {

QSlider* as_slider(const Control* control) {
    TOVEN_EXPECT(control != nullptr && control->kind == ControlKind::slider,
                 "the slider calls take a slider made by create_control");
    return static_cast<QSlider*>(control->widget);
}

// What the user did, as the old trackbar told it; Qt's names follow the value, which grows to
// the right.
unsigned trackbar_code(int action) {
    switch (action) {
        case QAbstractSlider::SliderSingleStepAdd:
            return TB_LINEDOWN;
        case QAbstractSlider::SliderSingleStepSub:
            return TB_LINEUP;
        case QAbstractSlider::SliderPageStepAdd:
            return TB_PAGEDOWN;
        case QAbstractSlider::SliderPageStepSub:
            return TB_PAGEUP;
        case QAbstractSlider::SliderToMinimum:
            return TB_TOP;
        case QAbstractSlider::SliderToMaximum:
            return TB_BOTTOM;
        default:
            return TB_THUMBTRACK;
    }
}

}  // namespace

namespace qt {

QWidget* make_slider(QWidget* client) {
    auto* slider = new QSlider(Qt::Horizontal, client);
    slider->setFocusPolicy(Qt::StrongFocus);
    slider->setRange(0, 100);
    slider->setSingleStep(1);
    slider->setPageStep(20);
    return slider;
}

// Qt tells of a user's move before it takes the new value, with the position already moved:
// the procedure reads the new position.
void connect_slider(Control* control) {
    QSlider* slider = as_slider(control);
    control->connections.push_back(
        QObject::connect(slider, &QAbstractSlider::actionTriggered, [control, slider](int action) {
            if (action != QAbstractSlider::SliderNoAction) {
                control->notify_scroll(trackbar_code(action), slider->sliderPosition());
            }
        }));
    control->connections.push_back(QObject::connect(
        slider, &QAbstractSlider::sliderReleased,
        [control, slider] { control->notify_scroll(TB_ENDTRACK, slider->sliderPosition()); }));
}

}  // namespace qt

void set_slider_range(Control* slider, int from, int to) {
    QSlider* widget = as_slider(slider);
    const auto [low, high] = std::minmax(from, to);
    widget->setRange(low, high);
    // A fifth of the range, as the old trackbar paged; at least one step.
    constexpr int pages_in_range = 5;
    widget->setPageStep(
        std::max(static_cast<int>((static_cast<long long>(high) - low) / pages_in_range), 1));
}

SliderRange slider_range(const Control* slider) {
    const QSlider* widget = as_slider(slider);
    return {widget->minimum(), widget->maximum()};
}

void set_slider_position(Control* slider, int position) {
    as_slider(slider)->setValue(position);
}

int slider_position(const Control* slider) {
    return as_slider(slider)->sliderPosition();
}

}  // namespace toven::platform
