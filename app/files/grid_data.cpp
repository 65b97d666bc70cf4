#include "app/files/grid_data.h"

#include <array>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#include "app/data_items.h"
#include "app/files/data_file.h"
#include "platform/picture_data.h"
#include "surface/plot_driver.h"

namespace toven {

namespace {

using platform::Refusal;

// The shortest text that reads back as `value`, as the items hold numbers.
std::string number_text(double value) {
    std::array<char, 32> text{};
    const auto end = std::to_chars(text.data(), text.data() + text.size(), value).ptr;
    return std::string(text.data(), end);
}

bool has_extension(const std::string& path, std::string_view extension) {
    if (path.size() <= extension.size()) {
        return false;
    }
    const std::string_view tail = std::string_view(path).substr(path.size() - extension.size());
    for (std::size_t i = 0; i < tail.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(tail[i])) != extension[i]) {
            return false;
        }
    }
    return true;
}

// A flat grid still needs a box of some height.
Grid::Range drawn_range(const Grid& grid) {
    Grid::Range range = grid.z_range().value_or(Grid::Range{});
    if (range.low == range.high) {
        range.low -= 1;
        range.high += 1;
    }
    return range;
}

}  // namespace

bool is_grid_content(const std::string& path, std::string_view bytes) {
    if (has_extension(path, ".npy") || has_extension(path, ".xyz") ||
        bytes.starts_with("\x93NUMPY")) {
        return true;
    }
    // Text grids hold no NUL: a binary file is refused as no data file.
    if (bytes.find('\0') != std::string_view::npos ||
        platform::picture_text(bytes).kind != platform::PictureKind::none) {
        return false;
    }
    // The first line that is no comment decides: an item has its "=".
    DataItem first;
    return DataLines(bytes).next(first) && first.text.find('=') == std::string_view::npos;
}

std::optional<Refusal> apply_grid(AppData& state, GridFile file) {
    const Grid& grid = file.grid;
    const Grid::Range z = drawn_range(grid);
    const std::array<std::pair<std::string_view, std::string>, 9> items{{
        {"m", std::to_string(grid.columns() - 1)},
        {"n", std::to_string(grid.rows() - 1)},
        {"k", "1"},
        {"x1", number_text(grid.x.front())},
        {"x2", number_text(grid.x.back())},
        {"y1", number_text(grid.y.front())},
        {"y2", number_text(grid.y.back())},
        {"z1", number_text(z.low)},
        {"z2", number_text(z.high)},
    }};
    for (const auto& [name, value] : items) {
        const ItemSpec* item = nullptr;
        if (auto refusal = check_item(name, value, item)) {
            return Refusal{"The grid of \"" + file.path + "\" has " +
                           std::to_string(grid.columns()) + " columns and " +
                           std::to_string(grid.rows()) + " rows, too many to plot."};
        }
    }
    for (const auto& [name, value] : items) {
        apply_item(state, name, value);
    }
    // The data written later name the file wherever they are opened.
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(file.path, error);
    state.grid = std::move(file.grid);
    state.grid_path = error ? std::move(file.path) : absolute.lexically_normal().string();
    return std::nullopt;
}

std::string grid_caption(const AppData& state) {
    const std::size_t slash = state.grid_path.find_last_of('/');
    return slash == std::string::npos ? state.grid_path : state.grid_path.substr(slash + 1);
}

void use_grid(PlotContext& context, const AppData& state) {
    if (state.grid) {
        context.grid = &*state.grid;
        context.grid_caption = grid_caption(state);
    }
}

}  // namespace toven
