#include "platform/tex_picture.h"

#include <QFontMetrics>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string_view>
#include <vector>

#include "platform/qt/drawing_log.h"
#include "platform/qt/font_resolver.h"
#include "platform/qt/picture_source.h"
#include "platform/qt/text_bytes.h"
#include "platform/safe_file.h"

namespace toven::platform {

namespace {

constexpr double points_per_inch = 72.0;
constexpr double page_dpi = 96.0;
// The thinnest line the picture draws, in points: TikZ's own "thin", which prints everywhere.
constexpr double thinnest_line = 0.4;
// Points written on one line of the file; TeX reads a line at a time.
constexpr int points_per_line = 8;

// How far a merged point may lie from the straight stretch that replaces it: 0.05 pt from
// where the curve passes, which is within half a device unit (the rounding of each device
// point) of where the point was recorded.
constexpr double merge_points = 0.05;
constexpr double rounding_units = 0.5;

double distance_squared_to_segment(QPoint p, QPoint a, QPoint b) {
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    const double px = p.x() - a.x();
    const double py = p.y() - a.y();
    const double length_squared = dx * dx + dy * dy;
    const double t =
        length_squared > 0 ? std::clamp((px * dx + py * dy) / length_squared, 0.0, 1.0) : 0.0;
    const double ex = px - t * dx;
    const double ey = py - t * dy;
    return ex * ex + ey * ey;
}

// The points of a polyline that a path within `tolerance` of every point needs: the ends,
// and, between two kept points, the one farthest from the stretch joining them while it lies
// beyond the tolerance (Douglas and Peucker's method).
std::vector<QPoint> merged_points(const QPoint* points, int count, double tolerance) {
    std::vector<bool> keep(static_cast<std::size_t>(count), false);
    keep.front() = keep.back() = true;
    std::vector<std::pair<int, int>> stretches{{0, count - 1}};
    const double limit = tolerance * tolerance;
    while (!stretches.empty()) {
        const auto [first, last] = stretches.back();
        stretches.pop_back();
        int farthest = -1;
        double largest = limit;
        for (int i = first + 1; i < last; ++i) {
            const double d = distance_squared_to_segment(points[i], points[first], points[last]);
            if (d > largest) {
                largest = d;
                farthest = i;
            }
        }
        if (farthest >= 0) {
            keep[static_cast<std::size_t>(farthest)] = true;
            stretches.push_back({first, farthest});
            stretches.push_back({farthest, last});
        }
    }
    std::vector<QPoint> result;
    for (int i = 0; i < count; ++i) {
        if (keep[static_cast<std::size_t>(i)]) {
            result.push_back(points[i]);
        }
    }
    return result;
}

// A number of points with at most two decimals and no trailing zeros.
std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    std::string result = text;
    while (result.back() == '0') {
        result.pop_back();
    }
    if (result.back() == '.') {
        result.pop_back();
    }
    return result == "-0" ? "0" : result;
}

// Text that TeX sets as it reads: its special characters escaped, and a number set in math
// mode, so that a minus sign is a minus and not a hyphen.
std::string tex_text(std::string_view text) {
    const bool numeric =
        !text.empty() && text.find_first_not_of("-+.0123456789eE") == std::string_view::npos;
    std::string result;
    for (const char c : text) {
        switch (c) {
            case '#':
            case '$':
            case '%':
            case '&':
            case '_':
            case '{':
            case '}':
                result += '\\';
                result += c;
                break;
            case '~':
                result += "\\textasciitilde{}";
                break;
            case '^':
                result += "\\textasciicircum{}";
                break;
            case '\\':
                result += "\\textbackslash{}";
                break;
            default:
                // Control characters have no place in TeX input.
                result += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
        }
    }
    if (!numeric) {
        return result;
    }
    // A number with an exponent, "2e+23", is set as 2\times10^{23}.
    const std::size_t e = result.find_first_of("eE");
    const std::size_t digits = e == std::string::npos ? e : result.find_first_of("0123456789", e);
    const bool signed_power = digits == e + 2 && (result[e + 1] == '+' || result[e + 1] == '-');
    if (e != std::string::npos && e > 0 && (digits == e + 1 || signed_power) &&
        result.find_first_not_of("0123456789", digits) == std::string::npos) {
        const std::size_t first = result.find_first_not_of('0', digits);
        const std::string power = first == std::string::npos ? "0" : result.substr(first);
        const bool negative = signed_power && result[e + 1] == '-';
        result = result.substr(0, e) + "\\times10^{" + (negative ? "-" : "") + power + "}";
    }
    return "$" + result + "$";
}

// The writer's state: what each recorded device has selected, and what the file has open.
class TexWriter {
  public:
    TexWriter(const qt::DrawingLog& log, const QImage& picture, double pixel_ratio)
        : log_(log),
          fonts_(const_cast<QImage*>(&picture)),
          picture_(picture),
          scale_(points_per_inch / (page_dpi * pixel_ratio)),
          height_(picture.height()) {}

    std::string write() {
        out_ =
            "% A picture by toven: \\input it where the figure goes; it needs "
            "\\usepackage{tikz}.\n";
        out_ += "\\begin{tikzpicture}[x=1bp,y=1bp,line cap=round,line join=round,line width=" +
                number(thinnest_line) + "bp]\n";
        define_colours();
        out_ += "\\useasboundingbox (0,0) rectangle (" + number(picture_.width() * scale_) + "," +
                number(height_ * scale_) + ");\n";
        for (const qt::DrawingOp& op : log_.operations()) {
            draw(op);
        }
        close_scope();
        out_ += "\\end{tikzpicture}\n";
        return std::move(out_);
    }

  private:
    struct DeviceState {
        ColourRef pen = 0;
        int pen_width = 1;
        ColourRef text = 0;
        int font = -1;
        std::optional<Rect> clip;
    };

    void define_colours() {
        for (const qt::DrawingOp& op : log_.operations()) {
            using Kind = qt::DrawingOp::Kind;
            if (op.kind == Kind::pen || op.kind == Kind::text_colour || op.kind == Kind::fill) {
                colour_name(op.colour);
            }
        }
        colour_name(0);
    }

    // Each colour is defined once, before the first path, and named by its order.
    std::string colour_name(ColourRef colour) {
        auto [entry, added] =
            colours_.try_emplace(colour, "toven" + std::to_string(colours_.size()));
        if (added) {
            out_ += "\\definecolor{" + entry->second + "}{RGB}{" + std::to_string(red_of(colour)) +
                    "," + std::to_string(green_of(colour)) + "," + std::to_string(blue_of(colour)) +
                    "}\n";
        }
        return entry->second;
    }

    std::string point(QPoint p) const {
        return "(" + number(p.x() * scale_) + "," + number((height_ - p.y()) * scale_) + ")";
    }

    // A clip is a scope with its \clip; paths of another clip start another scope.
    void use_clip(const std::optional<Rect>& clip) {
        if (clip == open_clip_ && scope_open_) {
            return;
        }
        close_scope();
        out_ += "\\begin{scope}\n";
        if (clip) {
            out_ += "\\clip " + point({clip->left, clip->bottom}) + " rectangle " +
                    point({clip->right, clip->top}) + ";\n";
        }
        open_clip_ = clip;
        scope_open_ = true;
    }

    void close_scope() {
        if (scope_open_) {
            out_ += "\\end{scope}\n";
            scope_open_ = false;
        }
    }

    std::string pen_options(const DeviceState& state) {
        std::string options = colour_name(state.pen);
        const double width = state.pen_width * scale_;
        if (width > thinnest_line) {
            options += ",line width=" + number(width) + "bp";
        }
        return options;
    }

    void draw_polyline(const DeviceState& state, const qt::DrawingOp& op) {
        use_clip(state.clip);
        out_ += "\\draw[" + pen_options(state) + "] ";
        const std::vector<QPoint> points =
            merged_points(&log_.points()[static_cast<std::size_t>(op.a)], op.b,
                          merge_points / scale_ + rounding_units);
        for (std::size_t i = 0; i < points.size(); ++i) {
            if (i > 0) {
                out_ += i % points_per_line == 0 ? "\n  --" : "--";
            }
            out_ += point(points[i]);
        }
        out_ += ";\n";
    }

    // The text's cell, as the window drew it, gives the centre of its node: numbers and
    // labels keep their place on either side of a tick whatever width the document's font
    // gives them.
    void draw_text(const DeviceState& state, const qt::DrawingOp& op) {
        const std::string& text = log_.text(op.c);
        if (text.empty()) {
            return;
        }
        QFont font = state.font >= 0 ? fonts_.resolve(log_.font(state.font).description,
                                                      log_.font(state.font).fixed_pitch)
                                     : fonts_.default_font();
        const QFontMetrics metrics(font, &picture_);
        const QString string = qt::text_from_bytes(text);
        const double x = op.a + metrics.horizontalAdvance(string) / 2.0;
        const double y = op.b + metrics.height() / 2.0;
        use_clip(state.clip);
        out_ += "\\node[inner sep=0pt,text=" + colour_name(state.text) + "] at (" +
                number(x * scale_) + "," + number((height_ - y) * scale_) + ") {" + tex_text(text) +
                "};\n";
    }

    void draw(const qt::DrawingOp& op) {
        using Kind = qt::DrawingOp::Kind;
        DeviceState& state = devices_[op.device];
        switch (op.kind) {
            case Kind::begin_device:
                state = {};
                break;
            case Kind::pen:
                state.pen = op.colour;
                state.pen_width = op.a;
                break;
            case Kind::text_colour:
                state.text = op.colour;
                break;
            case Kind::font:
                state.font = op.a;
                break;
            case Kind::clip:
                state.clip = Rect{op.a, op.b, op.c, op.d};
                break;
            case Kind::no_clip:
                state.clip.reset();
                break;
            case Kind::polyline:
                draw_polyline(state, op);
                break;
            case Kind::rectangle:
                use_clip(state.clip);
                out_ += "\\draw[" + pen_options(state) + "] " + point({op.a, op.d - 1}) +
                        " rectangle " + point({op.c - 1, op.b}) + ";\n";
                break;
            case Kind::text:
                draw_text(state, op);
                break;
            case Kind::fill:
                // The paper is white already; other fills are areas of colour.
                if (op.colour != rgb(255, 255, 255)) {
                    use_clip(state.clip);
                    out_ += "\\fill[" + colour_name(op.colour) + "] " + point({op.a, op.d}) +
                            " rectangle " + point({op.c, op.b}) + ";\n";
                }
                break;
            case Kind::end_device:
            case Kind::brush:
            case Kind::background:
                break;
        }
    }

    const qt::DrawingLog& log_;
    qt::FontResolver fonts_;
    const QImage& picture_;
    double scale_;  // points per device unit
    int height_;
    std::string out_;
    std::map<ColourRef, std::string> colours_;
    std::map<int, DeviceState> devices_;
    std::optional<Rect> open_clip_;
    bool scope_open_ = false;
};

}  // namespace

std::optional<Refusal> save_tex_picture(const Window& window, const std::string& path) {
    const auto* source = dynamic_cast<const qt::PictureSource*>(&window);
    const qt::DrawingLog* log = source != nullptr ? source->recording() : nullptr;
    if (log == nullptr || source->picture().isNull()) {
        return Refusal{"Cannot write \"" + path +
                       "\": the drawing was too large to keep as lines and text."};
    }
    const std::string tex = TexWriter(*log, source->picture(), source->pixel_ratio()).write();
    SafeFile file(path);
    if (auto refusal = file.open()) {
        return refusal;
    }
    file.write(tex.data(), tex.size());
    if (auto failure = file.failure()) {
        return failure;
    }
    return file.commit();
}

}  // namespace toven::platform
