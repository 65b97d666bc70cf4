#include "app/command/arguments.h"

#include <string>

#include "app/files/data_file.h"
#include "app/number_text.h"
#include "expr/item_table.h"
#include "platform/visible_text.h"

namespace toven {

namespace {

using platform::Refusal;

// size = pixels "x" pixels | length "x" length: pixels a whole number from 1 to max_page_side,
// a length up to max_page_points in pt, cm or mm (app/number_text.h)
bool read_size(std::string_view text, PagePicture& page) {
    const std::size_t cross = text.find('x');
    if (cross == std::string_view::npos) {
        return false;
    }
    const std::string_view width_text = text.substr(0, cross);
    const std::string_view height_text = text.substr(cross + 1);
    int width = 0;
    int height = 0;
    if (read_whole(width_text, 1, max_page_side, width) == NumberFault::none &&
        read_whole(height_text, 1, max_page_side, height) == NumberFault::none) {
        page.width = width;
        page.height = height;
        page.width_points = page.height_points = 0;
        return true;
    }
    double width_points = 0;
    double height_points = 0;
    if (read_length(width_text, max_page_points, width_points) == NumberFault::none &&
        read_length(height_text, max_page_points, height_points) == NumberFault::none) {
        page.width_points = width_points;
        page.height_points = height_points;
        return true;
    }
    return false;
}

// The NAME of "NAME=VALUE", blanks trimmed; empty without "=".
std::string_view assigned_name(std::string_view name_equals_value) {
    const std::size_t equals = name_equals_value.find('=');
    return equals == std::string_view::npos ? std::string_view()
                                            : trim_blanks(name_equals_value.substr(0, equals));
}

bool is_page_option(std::string_view option) {
    return option == "--size" || option == "--print-layout" || option == "--figure" ||
           option == "--sweep" || option == "--fps";
}

// option = "--size" size | "--print-layout" | "--figure" | "--sweep" sweep | "--fps" N; `at` is
// moved past the option's value.
std::optional<Refusal> read_option(std::span<char* const> arguments, std::size_t& at,
                                   const ArgumentRules& rules) {
    const std::string_view option = arguments[at];
    if (!is_page_option(option)) {
        return Refusal{"Unknown option " + platform::quoted(option) + " (see toven --help)."};
    }
    const bool sweep_option = option == "--sweep" || option == "--fps";
    if (rules.page == nullptr || (sweep_option && rules.sweep == nullptr)) {
        return Refusal{"The option " + std::string(option) + " draws pages; " +
                       std::string(rules.command) + " takes only NAME=VALUE items and data files."};
    }
    if (option == "--print-layout" || option == "--figure") {
        (option == "--figure" ? rules.page->figure : rules.page->print_layout) = true;
        return std::nullopt;
    }
    const char* value = at + 1 < arguments.size() ? arguments[++at] : nullptr;
    if (sweep_option) {
        return read_sweep_option(option, value, *rules.sweep);
    }
    if (value == nullptr || !read_size(value, *rules.page)) {
        return Refusal{"The option --size needs WxH: two whole numbers of pixels from 1 to " +
                       std::to_string(max_page_side) + ", or two lengths in pt, cm or mm up to " +
                       std::to_string(static_cast<int>(max_page_points * 2.54 / 72)) +
                       " cm (for example 800x600 or 8cmx6cm)."};
    }
    return std::nullopt;
}

// Two formulas at once would leave one of them silently unused.
std::optional<Refusal> formula_refusal(std::string_view argument, const ArgumentRules& rules) {
    const ItemSpec* item = find_item_spec(assigned_name(argument));
    if (rules.formula_item || item == nullptr || item->kind != ItemKind::formula) {
        return std::nullopt;
    }
    return Refusal{"With " + std::string(rules.command) + " the formula comes as FORMULA, so " +
                   std::string(item->name) +
                   "= cannot be given too: " + platform::quoted(argument) + "."};
}

}  // namespace

std::optional<Refusal> read_arguments(AppData& state, std::span<char* const> arguments,
                                      const ArgumentRules& rules) {
    for (std::size_t at = 0; at < arguments.size(); ++at) {
        const std::string_view argument = arguments[at];
        std::optional<Refusal> refusal = argument.starts_with("--")
                                             ? read_option(arguments, at, rules)
                                             : formula_refusal(argument, rules);
        if (!refusal && !argument.starts_with("--")) {
            refusal = apply_argument(state, argument);
        }
        if (refusal) {
            return refusal;
        }
    }
    return std::nullopt;
}

}  // namespace toven
