#include "surface/figure.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>
#include <variant>

#include "surface/figure_ticks.h"
#include "surface/plot_limits.h"
#include "surface/plot_work.h"
#include "surface/surface_plan.h"
#include "surface/uneven_nodes.h"

namespace toven {

namespace {

constexpr int figure_brush = brush_white;
constexpr int figure_ink = pen_black;  // ticks, numbers and labels
// The most numbers tried along one edge; fewer are taken where they would overlap.
constexpr int most_ticks = 7;
// The surface keeps at least this share of the drawing area, in percent, however long the
// numbers are.
constexpr int least_surface_percent = 40;

struct DevicePoint {
    double x = 0;
    double y = 0;
};

// Sizes in device units, from the font of the open output.
struct Spacing {
    int tick = 0;  // length of a tick mark
    int gap = 0;   // between a tick and its number, or a number and the axis name
    int line = 0;  // height of a text line
};

Spacing spacing_of(const Plotter& plotter) {
    return {std::max(plotter.line_height / 3, 2), std::max(plotter.char_width / 2, 1),
            plotter.line_height};
}

int text_width(Plotter& plotter, const std::string& text) {
    return plotter.dc->text_extent(text).cx;
}

// One axis: the base or vertical edge its ticks stand on, from (x, y, z) at value `from` to
// value `to` of the one coordinate that changes.
struct Edge {
    FigureText kind;
    int coordinate;  // 0 x, 1 y, 2 z
    std::array<double, 3> start;
    double from = 0;
    double to = 0;
};

DevicePoint device_point(const SurfacePlotter& plotter, const std::array<double, 3>& p) {
    const double h = plotter.project_h(p[0], p[1]);
    const double v = plotter.project_v(p[0], p[1], p[2]);
    return {(h - plotter.world_left) * plotter.x_scale + plotter.vp_left,
            plotter.vp_bottom - (v - plotter.world_bottom) * plotter.y_scale};
}

std::array<double, 3> point_on(const Edge& edge, double value) {
    std::array<double, 3> p = edge.start;
    p[static_cast<std::size_t>(edge.coordinate)] = value;
    return p;
}

// The corner of the base lowest on the page, and the two base edges that meet there: the
// lower outline of the base, in front of and below everything a surface inside the box draws.
std::array<Edge, 3> tick_edges(const SurfacePlotter& plotter) {
    const auto [x1, x2, y1, y2, z1, z2] = plotter.box;
    std::array<double, 3> low = {x1, y1, z1};
    std::array<double, 3> left = low;
    double low_y = device_point(plotter, low).y;
    double left_x = device_point(plotter, left).x;
    for (const double x : {x1, x2}) {
        for (const double y : {y1, y2}) {
            const DevicePoint p = device_point(plotter, {x, y, z1});
            if (p.y > low_y + 0.5) {
                low = {x, y, z1};
                low_y = p.y;
            }
            if (p.x < left_x - 0.5) {
                left = {x, y, z1};
                left_x = p.x;
            }
        }
    }
    return {{{FigureText::x_tick, 0, low, x1, x2},
             {FigureText::y_tick, 1, low, y1, y2},
             {FigureText::z_tick, 2, left, z1, z2}}};
}

// The direction in which the ticks of an edge point, one device unit long: away from the box
// along the other base direction for the base edges, but never upward, and to the left for
// the vertical edge.
DevicePoint tick_direction(const SurfacePlotter& plotter, const Edge& edge) {
    if (edge.coordinate == 2) {
        return {-1, 0};
    }
    const Box& box = plotter.box;
    const std::size_t other = edge.coordinate == 0 ? 1 : 0;
    const double low = other == 0 ? box.x1 : box.y1;
    const double high = other == 0 ? box.x2 : box.y2;
    const double here = edge.start[other];
    const double there = here == low ? high : low;
    std::array<double, 3> outward = edge.start;
    outward[other] = here + (here - there);
    const DevicePoint a = device_point(plotter, edge.start);
    const DevicePoint b = device_point(plotter, outward);
    double dx = b.x - a.x;
    double dy = b.y - a.y;
    const double length = std::hypot(dx, dy);
    if (!(length > 0) || dy < 0.3 * length) {
        return {0, 1};
    }
    return {dx / length, dy / length};
}

// The box of a text of `width` by `height` placed beyond `anchor` in `direction`: the side
// or corner of the box that faces back along the direction touches the anchor.
platform::Rect box_beyond(DevicePoint anchor, DevicePoint direction, int width, int height) {
    const double reach = std::max(std::abs(direction.x), std::abs(direction.y));
    const double cx = anchor.x + direction.x / reach * width / 2.0;
    const double cy = anchor.y + direction.y / reach * height / 2.0;
    const int left = static_cast<int>(std::lround(cx - width / 2.0));
    const int top = static_cast<int>(std::lround(cy - height / 2.0));
    return {left, top, left + width, top + height};
}

bool overlap(const platform::Rect& a, const platform::Rect& b, int gap) {
    return a.left < b.right + gap && b.left < a.right + gap && a.top < b.bottom + gap &&
           b.top < a.bottom + gap;
}

bool overlaps_any(const platform::Rect& box, const std::vector<FigureLabel>& placed, int gap) {
    return std::any_of(placed.begin(), placed.end(),
                       [&](const FigureLabel& label) { return overlap(box, label.box, gap); });
}

struct PlacedTick {
    DevicePoint from;
    DevicePoint to;
    FigureLabel label;
};

bool inside(const platform::Rect& box, const Plotter& plotter) {
    return box.left >= 0 && box.top >= 0 && box.right <= plotter.device_width &&
           box.bottom <= plotter.device_height;
}

// Whether nothing is drawn yet where `box` lies: no surface that left its box, no line of
// the frame, axes or ticks. A device that keeps no pixels counts as clear.
bool clear_on_device(Plotter& plotter, const platform::Rect& box) {
    const platform::SavedPixels drawn = plotter.dc->save_pixels(box);
    const platform::ColourRef paper = background_colours[figure_brush];
    return std::all_of(drawn.pixels.begin(), drawn.pixels.end(),
                       [&](platform::ColourRef pixel) { return pixel == paper; });
}

// The ticks of an edge with the most numbers, up to most_ticks, none of which overlaps
// another. A tick whose number would overlap a label of another edge (at the corner two
// edges share), anything drawn, or leave the drawing area is left out.
std::vector<PlacedTick> place_ticks(SurfacePlotter& plotter, const Edge& edge,
                                    const std::vector<FigureLabel>& placed,
                                    const Spacing& spacing) {
    const DevicePoint direction = tick_direction(plotter, edge);
    std::vector<PlacedTick> result;
    for (int most = most_ticks; most >= 2; --most) {
        const AxisTicks ticks = nice_ticks(edge.from, edge.to, most);
        result.clear();
        std::vector<FigureLabel> own;
        bool crowded = false;
        for (const double value : ticks.values) {
            const DevicePoint at = device_point(plotter, point_on(edge, value));
            const DevicePoint end{at.x + direction.x * spacing.tick,
                                  at.y + direction.y * spacing.tick};
            const DevicePoint anchor{end.x + direction.x * spacing.gap,
                                     end.y + direction.y * spacing.gap};
            const std::string text = tick_text(ticks, value);
            const platform::Rect box =
                box_beyond(anchor, direction, text_width(plotter, text), spacing.line);
            if (overlaps_any(box, placed, spacing.gap) || !inside(box, plotter) ||
                !clear_on_device(plotter, box)) {
                continue;
            }
            if (overlaps_any(box, own, spacing.gap)) {
                crowded = true;
                break;
            }
            own.push_back({edge.kind, text, box, value});
            result.push_back({at, end, own.back()});
        }
        if (!crowded) {
            break;
        }
    }
    return result;
}

// The axis name beyond the middle of the edge's numbers.
FigureLabel axis_name(SurfacePlotter& plotter, const Edge& edge,
                      const std::vector<PlacedTick>& ticks, const Spacing& spacing) {
    static constexpr std::array<const char*, 3> names = {"x", "y", "z"};
    const std::string text = names[static_cast<std::size_t>(edge.coordinate)];
    const DevicePoint direction = tick_direction(plotter, edge);
    const DevicePoint middle = device_point(plotter, point_on(edge, (edge.from + edge.to) / 2));
    // As far out as the farthest number, measured along the direction.
    double reach = spacing.tick + spacing.gap;
    for (const PlacedTick& tick : ticks) {
        const platform::Rect& b = tick.label.box;
        for (const double x : {b.left, b.right}) {
            for (const double y : {b.top, b.bottom}) {
                reach = std::max(reach,
                                 (x - tick.from.x) * direction.x + (y - tick.from.y) * direction.y);
            }
        }
    }
    reach += spacing.line / 2;
    const DevicePoint anchor{middle.x + direction.x * reach, middle.y + direction.y * reach};
    return {FigureText::axis_name, text,
            box_beyond(anchor, direction, text_width(plotter, text), spacing.line)};
}

void draw_device_line(SurfacePlotter& plotter, DevicePoint from, DevicePoint to) {
    plotter.dc->move_to(static_cast<int>(std::lround(from.x)),
                        static_cast<int>(std::lround(from.y)));
    plotter.dc->line_to(static_cast<int>(std::lround(to.x)), static_cast<int>(std::lround(to.y)));
}

void draw_label(SurfacePlotter& plotter, const FigureLabel& label) {
    plotter.text_x = label.box.left;
    plotter.text_y = label.box.top;
    plotter.put_text(label.text.c_str());
}

// The margins, in percent of the drawing area, that the numbers and labels need around the
// projected box: as wide as the widest number any edge may get, and a line or two high.
struct Margins {
    int left = 0, right = 0, bottom = 0, top = 0;
};

int percent_of(int units, int whole) {
    return whole > 0 ? static_cast<int>(std::ceil(100.0 * units / whole)) : 0;
}

int widest_number(Plotter& plotter, double from, double to) {
    int widest = 0;
    for (int most = most_ticks; most >= 2; --most) {
        const AxisTicks ticks = nice_ticks(from, to, most);
        for (const double value : ticks.values) {
            widest = std::max(widest, text_width(plotter, tick_text(ticks, value)));
        }
    }
    return widest;
}

Margins margins_for(Plotter& plotter, const GraphParameters& graph, bool titled, const Spacing& s) {
    const int xy = std::max(widest_number(plotter, graph.x1, graph.x2),
                            widest_number(plotter, graph.y1, graph.y2));
    const int z = widest_number(plotter, graph.z1, graph.z2);
    const int name = text_width(plotter, "x");
    const int out = s.tick + 2 * s.gap;
    Margins m;
    m.left = percent_of(std::max(out + z + s.line + name, out + xy), plotter.device_width);
    m.right = percent_of(out + xy + s.line + name, plotter.device_width);
    m.bottom = percent_of(out + 5 * s.line / 2, plotter.device_height);
    m.top = percent_of(s.line / 2 + s.gap + (titled ? s.line * 3 / 2 : 0), plotter.device_height);
    const auto fit = [](int& a, int& b) {
        const int spare = 100 - least_surface_percent;
        if (const int both = a + b; both > spare) {
            a = a * spare / both;
            b = b * spare / both;
        }
    };
    fit(m.left, m.right);
    fit(m.bottom, m.top);
    return m;
}

bool blank(const std::string& text) {
    return text.find_first_not_of(' ') == std::string::npos;
}

// The surface in the viewport that `m` leaves, clipped to it as the page's panel clips.
std::optional<platform::Refusal> draw_surface_area(SurfacePlotter& plotter, FunctionXY& function,
                                                   const GraphParameters& g, SurfacePlan plan,
                                                   const Margins& m) {
    plotter.set_colours(figure_brush, figure_ink, g.pc, figure_ink);
    plotter.set_viewport(m.left, 100 - m.right, m.bottom, 100 - m.top, clip_on);
    // The surface is drawn in the pen that is selected, as the page's panel leaves it.
    plotter.select_pen(g.pc);
    const SurfacePanel panel{plotter.vp_width, plotter.vp_height, plotter.pen_width, false};
    return draw_weighed_surface(plotter, function, std::move(plan), panel, g.fc, g.ax);
}

// Ticks and numbers of the three edges, then their names; what would overlap is left out.
std::vector<FigureLabel> draw_ticks(SurfacePlotter& plotter, std::vector<FigureLabel> labels,
                                    const Spacing& spacing) {
    plotter.select_pen(figure_ink);
    for (const Edge& edge : tick_edges(plotter)) {
        const std::vector<PlacedTick> ticks = place_ticks(plotter, edge, labels, spacing);
        for (const PlacedTick& tick : ticks) {
            draw_device_line(plotter, tick.from, tick.to);
            labels.push_back(tick.label);
        }
        FigureLabel name = axis_name(plotter, edge, ticks, spacing);
        if (!overlaps_any(name.box, labels, 0) && inside(name.box, plotter) &&
            clear_on_device(plotter, name.box)) {
            labels.push_back(std::move(name));
        }
    }
    return labels;
}

}  // namespace

DrawnFigure draw_figure(SurfacePlotter& plotter, FunctionXY& function, const GraphParameters& g,
                        const Grid* grid) {
    DrawnFigure figure;
    const SurfaceRequest request =
        grid != nullptr ? with_grid_nodes(g.surface(), *grid) : g.surface();
    auto plan = plan_surface(request);
    if (auto* refusal = std::get_if<platform::Refusal>(&plan)) {
        figure.refusal = std::move(*refusal);
        return figure;
    }
    plotter.begin_output(screen_output);
    plotter.set_colours(figure_brush, figure_ink, figure_ink, figure_ink);
    plotter.set_viewport(0, 100, 0, 100, clip_off);
    plotter.fill_viewport(figure_brush);
    const Spacing spacing = spacing_of(plotter);
    const bool titled = !blank(g.title);
    const Margins margins = margins_for(plotter, g, titled, spacing);
    if ((figure.refusal = draw_surface_area(plotter, function, g,
                                            std::get<SurfacePlan>(std::move(plan)), margins))) {
        return figure;
    }
    // The same viewport unclipped, so the world window still fits it.
    plotter.set_colours(figure_brush, figure_ink, figure_ink, figure_ink);
    plotter.set_viewport(margins.left, 100 - margins.right, margins.bottom, 100 - margins.top,
                         clip_off);
    if (titled) {
        const int width = text_width(plotter, g.title);
        const int left = std::max((plotter.device_width - width) / 2, 0);
        figure.labels.push_back({FigureText::title,
                                 g.title,
                                 {left, spacing.gap, left + width, spacing.gap + spacing.line}});
    }
    figure.labels = draw_ticks(plotter, std::move(figure.labels), spacing);
    for (const FigureLabel& label : figure.labels) {
        draw_label(plotter, label);
    }
    return figure;
}

}  // namespace toven
