#include "app/files/grid_triples.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <unordered_map>

namespace toven {

namespace {

class Points {
  public:
    explicit Points(const TripleLines& lines) : lines_(lines) {}

    std::size_t count() const { return lines_.lines.size(); }
    // Adding zero makes -0 and 0 one node.
    double x(std::size_t point) const { return lines_.values[3 * point] + 0.0; }
    double y(std::size_t point) const { return lines_.values[3 * point + 1] + 0.0; }
    double z(std::size_t point) const { return lines_.values[3 * point + 2]; }
    int line(std::size_t point) const { return lines_.lines[point]; }

  private:
    const TripleLines& lines_;
};

bool runs_one_way(const std::vector<double>& nodes) {
    return std::is_sorted(nodes.begin(), nodes.end(), std::less_equal<>()) ||
           std::is_sorted(nodes.begin(), nodes.end(), std::greater_equal<>());
}

// Lines in runs: the first run of one `slow` value holds every `fast` node, and each later
// run repeats them, in the same order, at a slow value of its own. Row by row `fast` is x.
bool in_runs(const Points& points, bool x_fastest, Grid& grid) {
    const auto fast = [&](std::size_t p) { return x_fastest ? points.x(p) : points.y(p); };
    const auto slow = [&](std::size_t p) { return x_fastest ? points.y(p) : points.x(p); };
    const std::size_t count = points.count();
    std::size_t run = 1;
    while (run < count && slow(run) == slow(0)) {
        ++run;
    }
    if (run < 2 || count % run != 0 || count / run < 2) {
        return false;
    }
    std::vector<double> fast_nodes(run);
    std::vector<double> slow_nodes(count / run);
    for (std::size_t p = 0; p < count; ++p) {
        const std::size_t along = p % run;
        if (p < run) {
            fast_nodes[along] = fast(p);
        }
        if (along == 0) {
            slow_nodes[p / run] = slow(p);
        }
        if (fast(p) != fast_nodes[along] || slow(p) != slow_nodes[p / run]) {
            return false;
        }
    }
    if (!runs_one_way(fast_nodes) || !runs_one_way(slow_nodes)) {
        return false;
    }
    grid.z.resize(count);
    for (std::size_t p = 0; p < count; ++p) {
        const std::size_t at = x_fastest ? p : (p % run) * slow_nodes.size() + p / run;
        grid.z[at] = points.z(p);
    }
    grid.x = std::move(x_fastest ? fast_nodes : slow_nodes);
    grid.y = std::move(x_fastest ? slow_nodes : fast_nodes);
    return true;
}

// The distinct values of one axis, in the order the lines first give them, and the index of
// each; when that order does not run one way, increasing.
struct Axis {
    std::vector<double> nodes;
    std::unordered_map<double, std::size_t> index;

    void add(double value) {
        if (index.try_emplace(value, nodes.size()).second) {
            nodes.push_back(value);
        }
    }
    void order() {
        if (runs_one_way(nodes)) {
            return;
        }
        std::sort(nodes.begin(), nodes.end());
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            index[nodes[i]] = i;
        }
    }
};

std::string format(const char* pattern, auto... values) {
    char text[200];
    std::snprintf(text, sizeof text, pattern, values...);
    return text;
}

std::optional<GridFault> in_any_order(const Points& points, Grid& grid, bool& looks_like_triples) {
    Axis x;
    Axis y;
    std::optional<std::size_t> unplaced;
    for (std::size_t p = 0; p < points.count(); ++p) {
        if (std::isnan(points.x(p)) || std::isnan(points.y(p))) {
            unplaced = unplaced.value_or(p);
            continue;
        }
        x.add(points.x(p));
        y.add(points.y(p));
    }
    const std::size_t count = points.count();
    looks_like_triples = looks_like_triples || (x.nodes.size() < count && y.nodes.size() < count);
    if (unplaced) {
        return GridFault{points.line(*unplaced), "an x y z line needs a number for x and for y"};
    }
    if (x.nodes.size() < 2 || y.nodes.size() < 2 || x.nodes.size() * y.nodes.size() != count) {
        return GridFault{
            0, format("the %zu x y z lines fill no grid: %zu values of x and %zu of "
                      "y make %zu nodes, each given once",
                      count, x.nodes.size(), y.nodes.size(), x.nodes.size() * y.nodes.size())};
    }
    x.order();
    y.order();
    grid.z.assign(count, std::numeric_limits<double>::quiet_NaN());
    std::vector<bool> given(count);
    for (std::size_t p = 0; p < count; ++p) {
        const std::size_t at = y.index[points.y(p)] * x.nodes.size() + x.index[points.x(p)];
        if (given[at]) {
            return GridFault{points.line(p), format("the node x = %g, y = %g is given twice",
                                                    points.x(p), points.y(p))};
        }
        given[at] = true;
        grid.z[at] = points.z(p);
    }
    grid.x = std::move(x.nodes);
    grid.y = std::move(y.nodes);
    return std::nullopt;
}

}  // namespace

std::optional<GridFault> triples_grid(const TripleLines& lines, Grid& grid,
                                      bool& looks_like_triples) {
    const Points points(lines);
    if (in_runs(points, true, grid) || in_runs(points, false, grid)) {
        looks_like_triples = true;
        return std::nullopt;
    }
    grid = Grid{};
    return in_any_order(points, grid, looks_like_triples);
}

}  // namespace toven
