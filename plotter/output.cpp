// Opening and closing the Plotter's output: the screen, or one page of the default printer
// after two questions. Whatever output is open, its objects and devices belong to the
// Plotter until end_output (or the destructor) gives them back. The questions and the note
// "Printing is Finished" are the Plotter's own boxes; a print that fails is returned to the
// caller as a refusal.
#include <string>

#include "platform/message_box.h"
#include "plotter/device_coordinate.h"
#include "plotter/plotter.h"
#include "plotter/scaled_font.h"

namespace toven {

namespace {

using platform::MessageBoxAnswer;
using platform::MessageBoxButtons;

constexpr const char* text_face = "Times New Roman";
// Text sizes in tenths of a point: 10 point on the screen, larger and wider on paper.
constexpr int screen_text_height = 100;
constexpr int screen_text_width = 100;
constexpr int printer_text_height = 140;
constexpr int printer_text_width = 160;

using platform::Refusal;

void tell(platform::Window* owner, const std::string& text) {
    platform::message_box(owner, text, "Note", MessageBoxButtons::ok);
}

bool ask(platform::Window* owner, const std::string& text, const std::string& caption) {
    return platform::message_box(owner, text, caption, MessageBoxButtons::yes_no) ==
           MessageBoxAnswer::yes;
}

// The print system's own reason on a line of its own, where it gave one.
std::string with_cause(const std::optional<std::string>& cause) {
    return cause ? "\n" + *cause : std::string();
}

}  // namespace

// A print still open is finished first; its failure is returned unless the new print fails
// too.
std::optional<Refusal> Plotter::begin_output(OutputDevice device) {
    std::optional<Refusal> refusal;
    if (printer_dc) {
        refusal = finish_print(true);
    }
    release_objects();
    release_screen_device();
    printing = device;

    make_pens();
    text_colour = output_text_colour;
    frame_pen = output_frame_pen;
    brush_number = output_brush;
    make_brushes();

    window_device = platform::take_window_device(window);
    dc = window_device.get();
    make_text_font(screen_text_height, screen_text_width);

    client_rect = window != nullptr ? window->client_rect() : platform::Rect{};
    screen_width = device_width = client_rect.width();
    screen_height = device_height = client_rect.height();
    device_aspect = quotient(device_height, device_width);
    client_region.reset(platform::create_rect_region(client_rect));
    if (window != nullptr) {
        window->invalidate(client_rect);
    }
    if (dc != nullptr && colour_on()) {
        dc->fill_region(*client_region, *brushes[brush_number]);
    }

    if (printing == printer_output) {
        if (auto failed = start_print()) {
            refusal = std::move(failed);
        }
    }

    if (dc != nullptr) {
        dc->set_background_colour(background_colours[brush_number]);
        dc->set_text_colour(pen_colours[text_colour]);
        dc->select_pen(pens[pen_black].get());
    }
    pen_number = pen_black;
    return refusal;
}

// Asks whether to print on the default printer named by the profile entry, and whether in
// colour, and opens the print job. Unless the job is open, the output stays the screen, and
// the refusal says why nothing is printed; a declined print has none.
std::optional<Refusal> Plotter::start_print() {
    const std::string entry = platform::default_printer_entry();
    const std::string name = entry.substr(0, entry.find(','));
    std::optional<Refusal> refusal;
    if (name.find_first_not_of(' ') == std::string::npos) {
        refusal = Refusal{"No default printer is set up, so nothing was printed."};
    } else if (ask(window, name, "Shall we print to ")) {
        colour = ask(window, "Colour ?", "Notice") ? in_colour : monochrome;
        refusal = open_print_job(name);
        if (!refusal) {
            return std::nullopt;
        }
    }
    printing = screen_output;
    colour = in_colour;
    return refusal;
}

// Opens the printer and its one page and makes it the device drawn on; on failure leaves the
// screen as the output and returns why.
std::optional<Refusal> Plotter::open_print_job(const std::string& name) {
    printer_name = name;
    std::unique_ptr<platform::PrinterDevice> printer = open_printer ? open_printer(name) : nullptr;
    if (!printer) {
        return Refusal{"Printing failed: the printer \"" + name +
                       "\" could not be opened, so nothing was printed."};
    }
    const int page_width = printer->capability(platform::DeviceCapability::width_pixels);
    const int page_height = printer->capability(platform::DeviceCapability::height_pixels);
    const bool document = printer->start_document("");
    if (!document || !printer->start_page()) {
        const std::optional<std::string> cause = printer->failure();
        if (document) {
            printer->end_document();
        }
        return Refusal{"Printing failed: the printer \"" + name +
                       "\" did not accept the document, so nothing was printed." +
                       with_cause(cause)};
    }

    printing = printer_output;
    device_width = page_width;
    device_height = page_height;
    device_aspect = quotient(page_height, page_width);
    saved_frame_pen = frame_pen;
    saved_text_colour = text_colour;
    saved_brush_number = brush_number;
    saved_pen_number = pen_number;
    screen_dc = dc;
    printer_dc = std::move(printer);
    dc = printer_dc.get();
    // Black lines and black text on white.
    if (colour == monochrome) {
        frame_pen = pen_black;
        brush_number = brush_white;
        pen_number = pen_black;
        text_colour = pen_black;
    }

    screen_font = std::move(font);
    make_text_font(printer_text_height, printer_text_width);
    return std::nullopt;
}

std::optional<Refusal> Plotter::end_output() {
    set_pen_width(1);
    release_objects();
    std::optional<Refusal> refusal;
    if (printer_dc) {
        refusal = finish_print(true);
    }
    release_screen_device();
    return refusal;
}

// Ends the page and the document and returns to the screen device. With `report`, a job that
// went to the queue is told as finished, and one that did not is returned as the refusal.
std::optional<Refusal> Plotter::finish_print(bool report) {
    bool sent = printer_dc->end_page();
    std::optional<std::string> cause = printer_dc->failure();
    sent = printer_dc->end_document() && sent;
    if (!cause) {
        cause = printer_dc->failure();
    }
    printer_dc.reset();

    dc = screen_dc;
    device_width = screen_width;
    device_height = screen_height;
    brush_number = saved_brush_number;
    frame_pen = saved_frame_pen;
    pen_number = saved_pen_number;
    text_colour = saved_text_colour;
    printing = screen_output;
    colour = in_colour;
    if (dc != nullptr) {
        dc->select_font(platform::stock_fixed_font());
        take_font_metrics();
    }
    screen_font.reset();

    if (!report) {
        return std::nullopt;
    }
    if (!sent) {
        return Refusal{"Printing failed: the page could not be finished on the printer \"" +
                       printer_name + "\"." + with_cause(cause)};
    }
    tell(window, "Printing is Finished");
    return std::nullopt;
}

void Plotter::release_screen_device() {
    dc = nullptr;
    screen_dc = nullptr;
    window_device.reset();
    screen_font.reset();
}

// Each pen is deleted before its successor is made.
void Plotter::make_pens() {
    for (std::size_t i = 0; i < pens.size(); ++i) {
        pens[i].reset();
        pens[i].reset(platform::create_pen(pen_width, pen_colours[i]));
    }
}

void Plotter::make_brushes() {
    for (std::size_t i = 0; i < brushes.size(); ++i) {
        brushes[i].reset();
        brushes[i].reset(platform::create_solid_brush(background_colours[i]));
    }
}

void Plotter::release_objects() {
    client_region.reset();
    viewport_region.reset();
    for (auto& pen : pens) {
        pen.reset();
    }
    for (auto& brush : brushes) {
        brush.reset();
    }
    font.reset();
}

// The text font of the device in `dc`, sized in tenths of a point, selected and measured; the
// text cursor goes to the first line of the drawing area.
void Plotter::make_text_font(int height, int width) {
    if (dc != nullptr) {
        font.reset(create_scaled_font(*dc, text_face, height, width, font_plain, logical_inch));
        dc->select_font(font.get());
        take_font_metrics();
    }
    text_y = line_height;
    text_margin = text_x = 10 * char_width;
}

void Plotter::take_font_metrics() {
    metrics = dc->text_metrics();
    char_width = metrics.ave_char_width;
    line_height = metrics.height;
}

}  // namespace toven
