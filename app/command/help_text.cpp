#include "app/command/help_text.h"

#include <string_view>
#include <utility>
#include <vector>

#include "app/command/sweep_request.h"
#include "app/data_items.h"
#include "app/files/page_picture.h"
#include "expr/expression.h"
#include "expr/item_table.h"
#include "expr/parser.h"
#include "surface/printable_solid.h"

namespace toven {

namespace {

// Each {name} is replaced by its value (see fields()).
constexpr std::string_view help_template = R"(Usage:
  toven [NAME=VALUE ...]                    the interactive program, with those data
  toven --render FILE [--size WxH] [--print-layout] [--figure] [NAME=VALUE ...]
  toven --render FILE --sweep NAME=FROM:TO:FRAMES [--fps N] [--size WxH] ...
  toven --render FILE.stl [NAME=VALUE ...]
  toven --eval FORMULA X Y [NAME=VALUE ...]
  toven --eval FORMULA - [NAME=VALUE ...]
  toven --help
  toven --version

--render draws one whole page, as a screen plot draws it (mini grid included), into
  FILE: PNG, PDF or SVG by its extension, on a drawing area of WxH device pixels
  (default {page_width}x{page_height}), or of a physical size in pt, cm or mm: 8cmx6cm.
  --print-layout draws the printer's layout instead. --figure draws the figure for a
  paper: the surface alone with tick numbers and the labels x, y and z, and the title.
FILE.tex is the figure as a TikZ picture for \input in LaTeX, its numbers in the
  document's font; its size is --size, pixels at 96 an inch.
--sweep draws the page once a frame, frame i of FRAMES ({fewest} to {most}) with the number
  item NAME = FROM + i*(TO - FROM)/(FRAMES - 1), into an animated GIF that loops
  (FILE.gif, --fps N frames a second, 1 to {fastest}, default {rate}), or into one PNG, PDF or
  SVG file a frame when FILE holds a frame number pattern: frame-%03d.png. If any
  frame cannot be plotted, nothing is written.
FILE.stl is the surface as a closed solid for a 3-D printer (binary STL): f on the
  sampling lattice cut to z1..z2, walls and a flat base at z1, in the box's own
  numbers (scale it in the slicer); at most {solid_cells} lattice cells (m k by n k).
--eval compiles FORMULA, sets the named parameters, evaluates f(X, Y) once and prints
  the value with %.17g (a NaN as nan). With - instead of X Y it reads one "X Y" pair a
  line from standard input (blanks or a comma between, # starts a comment) and prints f
  for each; a line that is not two numbers is reported with its number, and the status
  is 1. A failed read or write ends the run with its cause and status 1.

Each NAME=VALUE sets the data item called NAME, as the data windows do:
  function data: {fdata_items}
  graph data:    {sdata_items}
  for example a=2, tilt=30, 'f(x,y)=x^2+y^2'. Given alone, they are the data the
  window program starts with. A number takes one decimal number (2.5, -1e-3, +2, .5),
  and {counting_items} a whole number; blanks around it are ignored. The title, as every
  line of a data window, holds {longest_line} bytes with its name.
An argument that names an existing file is read as a data file (FILE.toven): one
  NAME=VALUE item a line, # starts a comment line; later items win. Every picture
  toven writes carries its data, so it reads as a data file too.

Formulas: numbers, names, + - * / ^ (one ^ per factor), parentheses, |x| for the
  absolute value, and sin cos tan atan exp log sqrt cosh sinh tanh fabs step. A name
  that nothing sets is 0. Where log, sqrt or a division has no value, f is 0.

A formula that does not parse prints its text up to the fault, two blanks and the
  message.
A bad formula, an unknown name, a bad number or graph data that cannot be plotted
  give a message on standard error and exit status 1, and no file is written.
FILE is replaced only once the new picture is completely written: a write error
  (a full disk) gives exit status 1 with its cause and leaves FILE as it was. A FILE
  that is a directory, device, FIFO or socket is refused; a link writes the file it
  names.
A formula may be up to {formula_length} characters long and nest {nesting} levels deep.
)";

// A whole number with a comma between each three digits: 2,000,000.
std::string with_commas(long long number) {
    std::string digits = std::to_string(number);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) {
        digits.insert(static_cast<std::size_t>(at), ",");
    }
    return digits;
}

// The names of the items that `keep` selects, a blank between each two.
template <typename Keep>
std::string item_names(Keep keep) {
    std::string names;
    for (const ItemSpec& item : item_specs) {
        if (keep(item)) {
            names += names.empty() ? "" : " ";
            names += item.name;
        }
    }
    return names;
}

std::vector<std::pair<std::string_view, std::string>> fields() {
    return {
        {"page_width", std::to_string(default_page_width)},
        {"page_height", std::to_string(default_page_height)},
        {"fewest", std::to_string(min_sweep_frames)},
        {"most", std::to_string(max_sweep_frames)},
        {"fastest", std::to_string(max_frames_per_second)},
        {"rate", std::to_string(default_frames_per_second)},
        {"solid_cells", with_commas(static_cast<long long>(max_solid_cells))},
        {"fdata_items", item_names([](const ItemSpec& i) { return i.table == TableName::fdata; })},
        {"sdata_items", item_names([](const ItemSpec& i) { return i.table == TableName::sdata; })},
        {"counting_items",
         item_names([](const ItemSpec& i) { return i.kind == ItemKind::counting; })},
        {"longest_line", std::to_string(longest_edit_line)},
        {"formula_length", std::to_string(max_formula_length)},
        {"nesting", std::to_string(max_nesting)},
    };
}

}  // namespace

std::string command_line_help() {
    std::string text(help_template);
    for (const auto& [name, value] : fields()) {
        const std::string field = "{" + std::string(name) + "}";
        for (std::size_t at = text.find(field); at != std::string::npos; at = text.find(field)) {
            text.replace(at, field.size(), value);
        }
    }
    return text;
}

}  // namespace toven
