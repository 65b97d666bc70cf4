// The hidden lines of a grid with holes, checked against the floating horizons worked out
// here a second time from the box, the mesh and the tilt alone: every curve against the
// curves in front of it, rows from the front backwards and then columns against horizons of
// their own, with holes that break their curves and raise no horizon.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "tests/surface/plot_page_fixture.h"

namespace toven {
namespace {

constexpr double hole = std::numeric_limits<double>::quiet_NaN();
constexpr int grid_columns = 9;  // x = 0, 0.5 ... 4
constexpr int grid_rows = 7;     // y = -1, -0.5 ... 2

// Bumps with holes: a node of each front edge, a node inside, a node of the back edge and
// the four corners of one whole cell.
Grid bumpy_grid() {
    Grid grid;
    for (int j = 0; j < grid_columns; ++j) {
        grid.x.push_back(j * 0.5);
        if (j < grid_rows) {
            grid.y.push_back(-1 + j * 0.5);
        }
    }
    for (const double y : grid.y) {
        for (const double x : grid.x) {
            grid.z.push_back(std::sin(1.7 * x + 0.3) * std::cos(2.1 * y) + 0.1 * x * y);
        }
    }
    for (const auto& [i, j] :
         {std::pair{0, 3}, {4, 0}, {3, 2}, {6, 7}, {2, 5}, {2, 6}, {3, 5}, {3, 6}}) {
        grid.z[i * grid_columns + j] = hole;
    }
    return grid;
}

// A line on the page, in device pixels before rounding, and the side of the surface it shows.
struct Line {
    double ax, ay, bx, by;
    bool underside;
};

// A sample of a curve: where it lies on the page, its v for the horizons, and its page column.
struct Point {
    double px, py, v;
    int column;
};
using Curve = std::vector<Point>;

// The page of the 9 x 7 grid over x 0..4, y -1..2 (so m = 8, n = 6 and rot = -45 degrees),
// sampled `k` times a cell, from z1 = -1.5 to z2 = 1.5 in `panel`.
struct Page {
    const Grid& grid;
    int k;
    platform::Rect panel;
    double tilt;
    double cos_rot = std::cos(-M_PI / 4), sin_rot = std::sin(-M_PI / 4);
    double cos_tilt = std::cos(tilt * M_PI / 180), sin_tilt = std::sin(tilt * M_PI / 180);
    double h_left = h(0, 2), h_width = h(4, -1) - h_left;
    double v_bottom = tilt >= 0 ? v(0, -1, -1.5) : v(4, 2, -1.5);
    double v_height = (tilt >= 0 ? v(4, 2, 1.5) : v(0, -1, 1.5)) - v_bottom;

    double h(double x, double y) const { return x * cos_rot + y * sin_rot; }
    double v(double x, double y, double z) const {
        return z * cos_tilt + sin_tilt * (y * cos_rot - x * sin_rot);
    }

    // Grid line `line` (a row, or a column) from its first node on: between two nodes the
    // height is the straight line, and a hole where either node is one.
    Curve curve(bool row, int line) const {
        Curve points;
        for (int s = 0; s <= (row ? 8 : 6) * k; ++s) {
            const double t = static_cast<double>(s % k) / k;
            const auto z_at = [&](int node) {
                return row ? grid.at(line, node) : grid.at(node, line);
            };
            const double z = t == 0 ? z_at(s / k) : (1 - t) * z_at(s / k) + t * z_at(s / k + 1);
            const double x = row ? s * 0.5 / k : line * 0.5;
            const double y = row ? -1 + line * 0.5 : -1 + s * 0.5 / k;
            const double height = v(x, y, z);
            points.push_back({panel.left + (h(x, y) - h_left) * panel.width() / h_width,
                              panel.bottom - (height - v_bottom) * panel.height() / v_height,
                              height, 6 * k + (row ? s - line * k : line * k - s)});
        }
        return points;
    }
};

// What a page column has seen: nothing yet (or a hole of a front edge), else the span from
// the lowest to the highest point.
struct Seen {
    bool any = false;
    double low = 0, high = 0;
};

// One family of curves (rows or columns): both front edges set the horizons and are drawn as
// asked, with gaps at their holes; then each curve from the front, every step judged by the
// point it ends on.
void draw_family(const Page& page, bool rows, bool draw_x1_edge, bool draw_y1_edge,
                 std::vector<Line>& lines) {
    std::vector<Seen> seen(14 * static_cast<std::size_t>(page.k) + 1);
    const auto line = [&](const Point& a, const Point& b, bool underside) {
        if (!std::isnan(a.v)) {
            lines.push_back({a.px, a.py, b.px, b.py, underside});
        }
    };
    for (const bool x1_edge : {true, false}) {
        const Curve edge = page.curve(!x1_edge, 0);
        for (std::size_t s = 0; s < edge.size(); ++s) {
            if (!std::isnan(edge[s].v)) {
                seen[edge[s].column] = {true, edge[s].v, edge[s].v};
                if (s > 0 && (x1_edge ? draw_x1_edge : draw_y1_edge)) {
                    line(edge[s - 1], edge[s], false);
                }
            }
        }
    }
    for (int c = 1; c < (rows ? 7 : 9); ++c) {
        const Curve curve = page.curve(rows, c);
        for (std::size_t s = 1; s < curve.size(); ++s) {
            const Point& p = curve[s];
            Seen& column = seen[p.column];
            if (std::isnan(p.v) || (column.any && p.v >= column.low && p.v <= column.high)) {
                continue;
            }
            line(curve[s - 1], p, column.any && p.v < column.low);
            column = column.any ? Seen{true, std::min(column.low, p.v), std::max(column.high, p.v)}
                                : Seen{true, p.v, p.v};
        }
    }
}

// The first point of `lines` longer than `shortest` pixels that lies more than a pixel off
// the `others` of its side; empty when none does. A drawn end is rounded by half a pixel.
std::string line_off(const std::vector<Line>& lines, const std::vector<Line>& others,
                     double shortest) {
    for (const Line& l : lines) {
        if (std::hypot(l.bx - l.ax, l.by - l.ay) <= shortest) {
            continue;
        }
        for (double t = 0; t <= 1; t += 1.0 / 16) {
            const double px = l.ax + t * (l.bx - l.ax), py = l.ay + t * (l.by - l.ay);
            double nearest = HUGE_VAL;
            for (const Line& o : others) {
                const double dx = o.bx - o.ax, dy = o.by - o.ay;
                const double length2 = dx * dx + dy * dy;
                const double u = length2 == 0 ? 0 : ((px - o.ax) * dx + (py - o.ay) * dy) / length2;
                const double along = std::clamp(u, 0.0, 1.0);
                if (o.underside == l.underside) {
                    nearest = std::min(nearest,
                                       std::hypot(px - o.ax - along * dx, py - o.ay - along * dy));
                }
            }
            if (nearest > 1) {
                return (l.underside ? "underside " : "") + std::to_string(px) + "," +
                       std::to_string(py);
            }
        }
    }
    return {};
}

// The grid lives as long as the page's context that points to it.
class GridHolesHidden : public surface_test::PlotPage {
  protected:
    const Grid grid = bumpy_grid();
};

TEST_F(GridHolesHidden, DrawsWhatTheHorizonsLeaveVisible) {
    context.grid = &grid;
    for (const char* item :
         {"x1=0", "x2=4", "y1=-1", "y2=2", "z1=-1.5", "z2=1.5", "n=6", "m=8", "fc=0", "ax=0"}) {
        set(item);
    }
    const struct {
        int tilt;
        const char* curves;
        int k;
    } cases[] = {{30, "both", 1}, {-20, "both", 2}, {30, "x", 2}, {-20, "x", 1}};
    for (const auto& c : cases) {
        const std::string items[] = {"tilt=" + std::to_string(c.tilt),
                                     std::string("curves=") + c.curves, "k=" + std::to_string(c.k)};
        SCOPED_TRACE(items[0] + " " + items[1] + " " + items[2]);
        for (const std::string& item : items) {
            set(item);
        }
        window.log->clear();
        ASSERT_FALSE(plot());
        std::vector<Line> drawn;
        for (const test_support::Segment& s : window.log->segments) {
            const bool underside = s.colour == pen_colours[pen_dark_magenta];
            if (underside || s.colour == pen_colours[pen_magenta]) {
                drawn.push_back({double(s.from.x), double(s.from.y), double(s.to.x), double(s.to.y),
                                 underside});
            }
        }
        const Page page{grid, c.k,
                        surface_test::panel_rect(surface_panel(PageKind::screen, pen_magenta)),
                        static_cast<double>(c.tilt)};
        const bool both = std::string(c.curves) == "both";
        std::vector<Line> visible;
        draw_family(page, true, both, true, visible);
        if (both) {
            draw_family(page, false, true, false, visible);
        }
        ASSERT_GT(visible.size(), 25u);
        EXPECT_EQ(line_off(drawn, visible, 0), "") << "drawn where nothing is visible";
        EXPECT_EQ(line_off(visible, drawn, 2), "") << "visible and not drawn";
    }
}

}  // namespace
}  // namespace toven
