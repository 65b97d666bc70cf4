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
#include <optional>
#include <string>

#include "platform/device.h"
#include "platform/drawing_objects.h"
#include "platform/owned_object.h"
#include "platform/printing.h"
#include "platform/refusal.h"
#include "platform/window.h"
#include "plotter/colour_tables.h"
#include "plotter/device_coordinate.h"
#include "plotter/panel_layout.h"
#include "plotter/plotter_modes.h"

namespace toven {

class Plotter {
  public:
    explicit Plotter(platform::Window* window);  // closed output, pen width 1, colour on
    ~Plotter();
    Plotter(const Plotter&) = delete;
    Plotter& operator=(const Plotter&) = delete;

    // Colours and viewports.
    bool colour_on() const { return printing == screen_output || colour == in_colour; }
    void set_colours(int brush, int frame_pen_number, int pen, int text_colour_number);
    void set_viewport(int left, int right, int bottom, int top, Clipping clip);
    void set_world_window(double left, double right, double bottom, double top);
    int to_device_x(double x) const {
        return truncate_to_device((x - world_left) * x_scale + vp_left + 0.5);
    }
    int to_device_y(double y) const {
        return truncate_to_device(vp_bottom - (y - world_bottom) * y_scale + 0.5);
    }
    double to_world_x(int px, Clamping clamp) const;
    double to_world_y(int py, Clamping clamp) const;

    // Drawing primitives.
    void select_pen(int number);
    void set_pen_width(int width);
    void fill_viewport(int brush);
    void draw_frame(int pen);  // current_frame_pen draws in frame_pen
    void frame_viewport(int brush);
    void open_panel(PanelLayout& layout, PanelFrame framed);
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

    // Output: the screen, or the default printer after the two prompts. A print that cannot
    // be started or finished (no default printer, a printer that cannot be opened, a document
    // or page it does not take) is returned as the refusal, for the caller to show; the output
    // is then the screen. Screen output is never refused.
    std::optional<platform::Refusal> begin_output(OutputDevice device);
    std::optional<platform::Refusal> end_output();

    // Fields. Units: "device" is pixels of `dc` (x right, y down), "world" the caller's
    // coordinates set by set_world_window (y up), "percent" of the drawing area (y up).
    // Colour numbers index pen_colours (0..25), background numbers background_colours (0..9);
    // numbers outside the tables are kept but select nothing.

    // Drawing objects, owned, made by begin_output for the open output and empty while none
    // is open. Pen i has colour pen_colours[i] and width `pen_width`; brush i background i.
    std::array<platform::Owned<platform::Pen>, pen_colour_count> pens;
    std::array<platform::Owned<platform::Brush>, background_colour_count> brushes;
    OutputDevice printing = screen_output;  // printer_output from a started print job until its end
    int pen_width = 1;  // device units, of every pen made; 1 except while printing

    // Devices. `window` is not owned: the window drawn on and the owner of the printing
    // prompts. `dc` is what all drawing goes to: the window's device (`window_device`), the
    // printer's (`printer_dc`) while printing, or null while no output is open. `screen_dc`
    // is the window's device held back while printing, and null otherwise.
    platform::Window* window = nullptr;
    platform::Device* dc = nullptr;
    platform::Device* screen_dc = nullptr;
    std::unique_ptr<platform::PrinterDevice> printer_dc;

    // Text. `font` (owned) is the text font of the open output; the metrics are those of the
    // font selected last and the extent that of the text drawn last, in device units.
    platform::Owned<platform::Font> font;
    platform::TextMetrics metrics;
    platform::Extent text_extent;
    int char_width = 0;   // device units: the font's average character width
    int line_height = 0;  // device units: the font's character cell height
    // The text cursor, device units: lines start at x = `text_margin`; (text_x, text_y) is
    // the top left of the next text.
    int text_margin = 0;
    int text_x = 0;
    int text_y = 0;

    // Rectangles in device units and their regions (owned). `viewport_region` is the clip
    // region while `clipping` is clip_on; both regions are empty while no output is open.
    platform::Rect client_rect;  // the window's client area when output began
    platform::Rect viewport_rect;
    platform::Owned<platform::Region> client_region;
    platform::Owned<platform::Region> viewport_region;

    // Current colour numbers. Each saved_ value holds the screen's number while printing, to
    // be restored when the print ends; it has no meaning otherwise.
    int brush_number = 0;  // background number of fills and of text cells
    int saved_brush_number = 0;
    int text_colour = 0;  // colour number of text
    int saved_text_colour = 0;
    int frame_pen = 0;  // colour number of frames and grids
    int saved_frame_pen = 0;
    int pen_number = 0;  // colour number of the pen selected for lines
    int saved_pen_number = 0;
    ColourMode colour = in_colour;  // monochrome only while printing a job declined in colour

    // World window, world units: the edges mapped onto the viewport's edges, and the scales
    // in device units per world unit (vp_width / world_width, vp_height / world_height).
    double world_left = 0, world_right = 1;
    double world_bottom = 0, world_top = 1;
    double world_width = 1, world_height = 1;
    double x_scale = 1, y_scale = 1;
    std::array<double, 4> saved_window{};  // left, right, bottom, top, kept while draw_grid runs

    // Viewport, device units; y grows downward, so vp_bottom > vp_top for a panel of height.
    int vp_left = 0, vp_right = 0;
    int vp_bottom = 0, vp_top = 0;
    int vp_height = 0, vp_width = 0;

    // The point moved or drawn to last: in world units and its device point.
    double cur_x = 0, cur_y = 0;
    int cur_px = 0, cur_py = 0;

    // Sizes in device units: the client area (kept for the return from the printer), and the
    // drawing area that viewport percentages refer to (the client area or the printed page).
    int screen_width = 0, screen_height = 0;
    int device_width = 0, device_height = 0;
    double device_aspect = 1.0;    // device_height / device_width
    double viewport_aspect = 1.0;  // height / width of the last viewport, from its percentages
    double scale_ratio = 1.0;      // y_scale / x_scale up to rounding, from the percentages
    Clipping clipping = clip_on;   // clip_on while viewport_region is the device's clip region

    // Opens a printer by queue name, null when it cannot be opened. Tests put a recording
    // printer here; the program keeps the platform's.
    std::function<std::unique_ptr<platform::PrinterDevice>(const std::string&)> open_printer =
        platform::create_printer_device;
    std::string printer_name;  // the queue of the print in progress (or of the last one)

  private:
    // Records a world point and its device point as the current ones.
    void set_current_point(double x, double y);
    void place_viewport(int left, int right, int bottom, int top);
    void clip_to_viewport(Clipping clip);
    void measure_viewport(int left, int right, int bottom, int top);
    void make_pens();
    void make_brushes();
    void release_objects();
    void make_text_font(int height, int width);
    void take_font_metrics();
    std::optional<platform::Refusal> start_print();
    std::optional<platform::Refusal> open_print_job(const std::string& name);
    std::optional<platform::Refusal> finish_print(bool report);
    void release_screen_device();

    // The window's device of the open output, given back to the window that handed it out
    // even when a caller has pointed `window` at another window since.
    platform::OwnedWindowDevice window_device{nullptr, platform::DeviceRelease{}};
    // The screen's text font while a print holds `font`; deleted once the stock font has
    // replaced it on the screen device.
    platform::Owned<platform::Font> screen_font;
};

}  // namespace toven
