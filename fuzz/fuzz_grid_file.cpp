// Any bytes as a grid file: the first byte picks the name's extension (.txt, .csv, .xyz or
// .npy), the rest is the file. Checks that a file is read to a grid without a fault and with
// a value, or refused with a message that starts with the file's name; that the grid reads
// each node's own value at the node, a value within its range (or a hole) halfway between
// nodes, and nothing outside; and that reading the same bytes twice gives the same grid.
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "app/files/grid_file.h"
#include "fuzz/fuzz_support.h"

using namespace toven;

namespace {

constexpr std::array<const char*, 4> names = {"f.txt", "f.csv", "f.xyz", "f.npy"};

// At most this many nodes are checked, so that a large grid stays quick.
constexpr std::size_t checked_nodes = 4096;

void check_grid(const Grid& grid, const std::string& input) {
    if (auto fault = grid_fault(grid)) {
        fuzz::fail("a grid that was read has a fault: " + *fault, input);
    }
    const std::optional<Grid::Range> range = grid.z_range();
    if (!range) {
        fuzz::fail("a grid that was read holds only holes", input);
    }
    std::size_t checked = 0;
    for (std::size_t i = 0; i < grid.rows() && checked < checked_nodes; ++i) {
        for (std::size_t j = 0; j < grid.columns() && checked < checked_nodes; ++j, ++checked) {
            const std::optional<double> node = grid.value_at(grid.x[j], grid.y[i]);
            if (!node ||
                !(*node == grid.at(i, j) || (std::isnan(*node) && std::isnan(grid.at(i, j))))) {
                fuzz::fail("a node does not read its own value", input);
            }
            if (i + 1 < grid.rows() && j + 1 < grid.columns()) {
                const std::optional<double> middle = grid.value_at(
                    grid.x[j] / 2 + grid.x[j + 1] / 2, grid.y[i] / 2 + grid.y[i + 1] / 2);
                if (!middle || (!std::isnan(*middle) &&
                                (*middle < range->low - 1e-9 * std::abs(range->low) ||
                                 *middle > range->high + 1e-9 * std::abs(range->high)))) {
                    fuzz::fail("a point between nodes reads outside the grid's range", input);
                }
            }
        }
    }
    const double beyond = grid.x.back() + (grid.x.back() - grid.x.front());
    if (std::isfinite(beyond) && beyond != grid.x.back() && grid.value_at(beyond, grid.y.front())) {
        fuzz::fail("a point outside the grid has a value", input);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string name = names[data[0] % names.size()];
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::string input = name + ": " + std::string(bytes.substr(0, 200));
    const auto read = read_grid(name, bytes);
    if (const auto* refusal = std::get_if<platform::Refusal>(&read)) {
        if (refusal->message.find("\"" + name + "\"") == std::string::npos) {
            fuzz::fail("a refusal does not name the file: " + refusal->message, input);
        }
        return 0;
    }
    const Grid& grid = std::get<GridFile>(read).grid;
    check_grid(grid, input);
    const auto again = read_grid(name, bytes);
    if (!std::holds_alternative<GridFile>(again) || !(std::get<GridFile>(again).grid == grid)) {
        fuzz::fail("the same bytes read to another grid", input);
    }
    return 0;
}
