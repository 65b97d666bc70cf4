// One page of the data tables drawn by the plot driver on an offscreen window and saved as a
// picture file: what --render writes and what the window's Save writes.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "app/app_data.h"
#include "expr/surface_function.h"
#include "platform/refusal.h"
#include "platform/window.h"

namespace toven {

// The default drawing area where no window gives one, in device pixels.
inline constexpr int default_page_width = 800;
inline constexpr int default_page_height = 600;
// The picture is held in memory at 4 bytes a pixel: 8000 by 8000 costs 256 MB.
inline constexpr int max_page_side = 8000;
// A picture given a physical size is drawn at the screen's 96 pixels an inch, a TeX picture
// finer (platform/tex_picture.h); the finer window bounds both, at about 28 cm a side.
inline constexpr double pixels_per_point = 96.0 / 72.0;
inline constexpr double max_page_points = max_page_side / 10.0;

struct PagePicture {
    std::string path;  // PNG, PDF or SVG by its extension
    int width = default_page_width;
    int height = default_page_height;
    double pixel_ratio = 1;     // that of the screen window the page stands for
    bool print_layout = false;  // the printer's layout instead of the screen's
    bool figure = false;        // the surface alone with ticks, for a paper (surface/figure.h)
    // A physical size in points of 1/72 inch instead of the pixels, where both are above zero.
    double width_points = 0;
    double height_points = 0;
};

struct SavedPage {
    enum class Status {
        saved,
        saved_as_image,  // a PDF or SVG holds the page's image: its drawing was too large to
                         // keep as lines and text
        refused,         // the graph data cannot be plotted: nothing was written
        failed,          // the file could not be written
    };
    Status status = Status::saved;
    std::string message;  // why, for the person, when refused or failed
};

// Whether a page compiles fdata's formula, or finds it compiled in the function already (the
// frames of a sweep share one compiled formula).
enum class Formula { compile, compiled };

// A page drawn on an offscreen window of the picture's size, or why it was refused.
struct DrawnPage {
    std::unique_ptr<platform::Window> window;
    std::optional<platform::Refusal> refusal;
    bool vector_page = false;  // the window records its drawing for a PDF or SVG
};

// The offscreen window a picture is drawn on: its size in device units and its pixel ratio.
// A TeX picture is always of a physical size, that of its pixels at 96 an inch when it has
// none; nothing where the window would be larger than max_page_side.
struct PageWindow {
    int width = 0;
    int height = 0;
    double pixel_ratio = 1;
};
std::optional<PageWindow> page_window(const PagePicture& picture);
// Why page_window has none for the picture, for the person.
std::string too_large_message(const PagePicture& picture);

// Draws the page of the state's tables as save_page does, without saving it; the figure alone
// where the picture asks for it or its file is a TeX picture.
DrawnPage draw_page_picture(const AppData& state, const PagePicture& picture,
                            SurfaceFunction& function, platform::Window* message_window,
                            Formula formula = Formula::compile);

// Draws the page of the state's tables as a click in a plot window of the picture's size
// draws it (mini grid included, no readout) with `function`, which the driver compiles; a
// formula that does not parse is reported over `message_window` when it is set. Then saves it
// safely to the path, with the tables' data text in it (app/data_file.h) where its format
// carries data. A refused page, or data that a data file cannot hold, writes nothing. The state's
// own plot (its graph_parameters and readout_ready) is left as it was.
SavedPage save_page(const AppData& state, const PagePicture& picture, SurfaceFunction& function,
                    platform::Window* message_window, Formula formula = Formula::compile);

// save_page in two steps, so that pages drawn side by side, each from tables and a function
// of its own, are still written one after another: the page drawn with the data text it
// carries, or in `outcome` why nothing will be written.
struct PreparedPage {
    SavedPage outcome;
    DrawnPage page;
    std::string data_text;
};
PreparedPage prepare_page(const AppData& state, const PagePicture& picture,
                          SurfaceFunction& function, platform::Window* message_window,
                          Formula formula = Formula::compile);
// Writes a prepared page to the picture's path; a refused or failed one writes nothing.
SavedPage write_page(const PagePicture& picture, const PreparedPage& prepared);

}  // namespace toven
