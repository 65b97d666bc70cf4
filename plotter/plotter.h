// The Plotter: the one object through which the program draws. It holds an output device
// (a window's client area or a printer page), the pens, brushes, font and regions made for
// it, a viewport placed by percentages, a world window mapped onto that viewport, and a text
// cursor. It owns every object and device it holds and releases them in end_output (or when
// it is destroyed with its output still open); `window` is never owned. Drawing calls made
// while no output is open change the Plotter's fields but draw nothing.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "platform/device.h"
#include "platform/drawing_objects.h"
#include "platform/printing.h"
#include "platform/window.h"
#include "plotter/colour_tables.h"
#include "plotter/device_coordinate.h"
#include "plotter/panel_layout.h"

namespace toven {

class Plotter {
  public:
    explicit Plotter(platform::Window* window);  // `create`: closed output, pen width 1, colour on
    ~Plotter();
    Plotter(const Plotter&) = delete;
    Plotter& operator=(const Plotter&) = delete;

    // Colours and viewports.
    bool colour_on() const { return printing == 0 || colour == 1; }
    void set_colours(int brush, int frame_pen_number, int pen, int text_colour_number);
    void set_viewport(int left, int right, int bottom, int top, int clip);
    void set_world_window(double left, double right, double bottom, double top);
    int to_device_x(double x) const {
        return truncate_to_device((x - world_left) * x_scale + vp_left + 0.5);
    }
    int to_device_y(double y) const {
        return truncate_to_device(vp_bottom - (y - world_bottom) * y_scale + 0.5);
    }
    double to_world_x(int px, int clamp) const;
    double to_world_y(int py, int clamp) const;

    // Drawing primitives.
    void select_pen(int number);
    void set_pen_width(int width);
    void fill_viewport(int brush);
    void draw_frame(int pen);  // -1 draws in frame_pen
    void frame_viewport(int brush);
    void open_panel(PanelLayout& layout, int framed);
    void move_to(double x, double y);
    void line_to(double x, double y);
    void draw_rect(double left, double right, double bottom, double top);
    void draw_grid(int nx, int ny, int length);

    // Text.
    void set_text_colour(int number);
    void put_text(const char* text);
    void print_line(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void next_line(int n);
    void indent_line(int n);

    // Output: the screen, or the default printer after the two prompts.
    void begin_output(int to_printer);
    void end_output();

    // Fields. Handle slots are either null or hold a live object owned by this Plotter.
    std::array<platform::Pen*, pen_colour_count> pens{};
    std::array<platform::Brush*, background_colour_count> brushes{};
    int printing = 0;
    int pen_width = 1;
    platform::Window* window = nullptr;
    platform::Device* dc = nullptr;
    platform::Device* screen_dc = nullptr;
    std::unique_ptr<platform::PrinterDevice> printer_dc;
    platform::Font* font = nullptr;
    platform::TextMetrics metrics;
    platform::Extent text_extent;
    int char_width = 0;
    int line_height = 0;
    int text_margin = 0;
    int text_x = 0;
    int text_y = 0;
    platform::Rect client_rect;
    platform::Rect viewport_rect;
    platform::Region* client_region = nullptr;
    platform::Region* viewport_region = nullptr;
    int brush_number = 0;
    int saved_brush_number = 0;
    int text_colour = 0;
    int saved_text_colour = 0;
    int frame_pen = 0;
    int saved_frame_pen = 0;
    int pen_number = 0;
    int saved_pen_number = 0;
    int colour = 1;
    double world_left = 0, world_right = 1;
    double world_bottom = 0, world_top = 1;
    double world_width = 1, world_height = 1;
    double x_scale = 1, y_scale = 1;
    std::array<double, 4> saved_window{};
    double char_width_world = 0;
    double line_height_world = 0;
    int vp_left = 0, vp_right = 0;
    int vp_bottom = 0, vp_top = 0;
    int vp_height = 0, vp_width = 0;
    double cur_x = 0, cur_y = 0;
    int cur_px = 0, cur_py = 0;
    int screen_width = 0, screen_height = 0;
    int device_width = 0, device_height = 0;
    double device_aspect = 1.0;
    double viewport_aspect = 1.0;
    double scale_ratio = 1.0;
    int clipping = 1;

    // Opens a printer by queue name, null when it cannot be opened. Tests put a recording
    // printer here; the program keeps the platform's.
    std::function<std::unique_ptr<platform::PrinterDevice>(const std::string&)> open_printer =
        platform::create_printer_device;
    std::string printer_name;  // the queue of the print in progress (or of the last one)

  private:
    // Records a world point and its device point as the current ones.
    void set_current_point(double x, double y);
    void place_viewport(int left, int right, int bottom, int top);
    void clip_to_viewport(int clip);
    void measure_viewport(int left, int right, int bottom, int top);
    void make_pens();
    void make_brushes();
    void release_objects();
    void take_font_metrics();
    std::string ask_for_printer();
    bool open_print_job(const std::string& name);
    void finish_print(bool report);
    void release_screen_device();

    // What giving the screen device back needs, kept apart from `window`, which a caller
    // may point at another window while this output is open.
    platform::Window* device_window = nullptr;
    platform::Device* window_device = nullptr;
    // The screen's text font while a print holds `font`; deleted once the stock font has
    // replaced it on the screen device.
    platform::Font* screen_font = nullptr;
};

}  // namespace toven
