#include "app/window/help_window.h"

#include "platform/busy_cursor.h"
#include "plotter/colour_tables.h"
#include "plotter/panel_layout.h"
#include "plotter/plotter.h"

namespace toven {

namespace {

// The help window's one panel, nearly the whole client area, in percent.
constexpr PanelLayout help_panel = {
    1, 99, 2, 98, brush_pale_yellow, pen_dark_green, pen_dark_blue, pen_orange};
constexpr int heading_colour = pen_dark_red;
constexpr int body_colour = pen_dark_blue;
constexpr int body_column = 9;  // character widths from the margin
constexpr int margin_characters = 3;

void draw_section(Plotter& plotter, const HelpSection& section) {
    plotter.set_text_colour(heading_colour);
    plotter.text_x = plotter.text_margin;
    plotter.put_text(section.heading.data());
    plotter.text_x = plotter.text_margin + body_column * plotter.char_width;
    plotter.set_text_colour(body_colour);
    for (std::size_t i = 0; i < section.lines.size(); ++i) {
        if (i > 0) {
            plotter.indent_line(body_column);
        }
        plotter.put_text(section.lines[i].data());
    }
    plotter.next_line(1);
    plotter.next_line(1);
}

}  // namespace

// Every text is a string literal, so each line's data() is terminated.
const std::vector<HelpSection>& help_sections() {
    static const std::vector<HelpSection> sections = {
        {"Menu:", {"Open, arrange, and size Plot (and Data) window(s), then click to activate."}},
        {"Screen:   ",
         {"Screen plots are started or refreshed by a mouse click.",
          "By moving the mouse over the mini grid, we get function values.",
          "Avoid clicking mouse over mini grid since this will also start a replot."}},
        {"Fdata: ",
         {"The function f(x,y) and its optional parameters a b c d e,",
          "Use * for multiplication, / for division, ^ for powers, |x| = abs(x),",
          "If there is a parse error, the program warns and sets f(x,y) = 0.",
          "To update revised data, press button [u] in data box."}},
        {"Gdata: ",
         {"Sets the graph scale parameters for box (x1,x2,y1,y2,z1,z2),",
          "and tilt angle. m and n are number of xy mesh points; k is the number",
          "of steps on curve between mesh points.  Choose m > n. This fixes rot angle.",
          // Shown as written, although the plot draws the underside in pen pc-8 and the frame
          // box only for fc = 1, in pen 1: the README says what the plot really does.
          "Axes: ax = (0, 1);  Frame: fc (0,c), c = colour;  Plot colours = (pc, pc-5)."}},
        {"Print:", {"Prints all but the mini grid to the default printer."}},
    };
    return sections;
}

void draw_help(platform::Window* window) {
    platform::BusyCursor busy(window);
    Plotter plotter(window);
    plotter.begin_output(screen_output);
    PanelLayout panel = help_panel;
    plotter.open_panel(panel, panel_framed);
    const int c = plotter.char_width;
    const int h = plotter.line_height;
    plotter.text_margin = plotter.text_x = plotter.vp_left + margin_characters * c;
    plotter.text_y = plotter.vp_top + h / 3 + h;
    for (const HelpSection& section : help_sections()) {
        draw_section(plotter, section);
    }
    plotter.end_output();
}

}  // namespace toven
