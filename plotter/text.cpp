// Text at the Plotter's cursor: each text on an opaque cell of the background colour, with
// its top-left corner at (text_x, text_y).
#include <cstdarg>
#include <cstdio>
#include <string_view>

#include "plotter/plotter.h"

namespace toven {

namespace {

// The longest formatted line print_line writes, with its terminator; longer text is cut.
constexpr int line_buffer_size = 80;

}  // namespace

void Plotter::set_text_colour(int number) {
    if (!colour_on() || !is_pen_number(number)) {
        return;
    }
    if (dc != nullptr) {
        dc->set_text_colour(pen_colours[number]);
    }
    text_colour = number;
}

void Plotter::put_text(const char* text) {
    const std::string_view line = text == nullptr ? std::string_view() : std::string_view(text);
    if (dc == nullptr) {
        return;
    }
    if (is_background_number(brush_number)) {
        dc->set_background_colour(background_colours[brush_number]);
    }
    if (is_pen_number(text_colour)) {
        dc->set_text_colour(pen_colours[text_colour]);
    }
    text_extent = dc->text_extent(line);
    if (!line.empty()) {
        dc->text_out(text_x, text_y, line);
    }
    text_x += text_extent.cx;
}

void Plotter::print_line(const char* format, ...) {
    char line[line_buffer_size];
    va_list arguments;
    va_start(arguments, format);
    const int length = std::vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
    if (length < 0) {
        line[0] = '\0';
    }
    put_text(line);
    text_y += line_height;
    text_x = text_margin;
}

void Plotter::next_line(int n) {
    text_y = n == 0 ? vp_top + line_height : text_y + n * line_height;
    text_x = text_margin;
}

void Plotter::indent_line(int n) {
    text_y += line_height;
    text_x = text_margin + n * char_width;
}

}  // namespace toven
