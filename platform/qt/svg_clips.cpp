#include "platform/qt/svg_clips.h"

#include <QList>
#include <cmath>

namespace toven::platform::qt {

namespace {

// The value of attribute `name` in one element's text, or NaN.
double attribute(const QByteArray& element, const QByteArray& name) {
    const QByteArray key = ' ' + name + "=\"";
    const qsizetype at = element.indexOf(key);
    if (at < 0) {
        return std::nan("");
    }
    const qsizetype start = at + key.size();
    const qsizetype end = element.indexOf('"', start);
    bool ok = false;
    const double value = element.mid(start, end - start).toDouble(&ok);
    return ok ? value : std::nan("");
}

// The clip rectangle of a marker: the box of an ellipse or of a circle.
QRect marked_rect(const QByteArray& marker) {
    const double cx = attribute(marker, "cx");
    const double cy = attribute(marker, "cy");
    double rx = attribute(marker, "rx");
    double ry = attribute(marker, "ry");
    if (std::isnan(rx) || std::isnan(ry)) {
        rx = ry = attribute(marker, "r");
    }
    return QRect(static_cast<int>(std::lround(cx - rx)), static_cast<int>(std::lround(cy - ry)),
                 static_cast<int>(std::lround(2 * rx)), static_cast<int>(std::lround(2 * ry)));
}

bool is_marker(const QByteArray& line) {
    return line.startsWith("<ellipse ") || line.startsWith("<circle ");
}

// Rewrites the document's body, where Qt writes one group of attributes per painter state,
// each opened with "<g " and closed before the next opens: every group after a marker
// takes the marked clip.
class BodyRewriter {
  public:
    explicit BodyRewriter(QSize page_size) : page_(QPoint(0, 0), page_size) {}

    void take(const QByteArray& line) {
        if (!opener_.isEmpty() && !opener_complete_) {
            opener_ += line;
            opener_complete_ = line.trimmed().endsWith('>');
            if (opener_complete_) {
                open_group();
            }
        } else if (line.startsWith("<g ") && state_groups_started_) {
            opener_ = line;
            opener_complete_ = line.trimmed().endsWith('>');
            if (opener_complete_) {
                open_group();
            }
        } else if (is_marker(line)) {
            change_clip(marked_rect(line));
        } else {
            // The first group holds Qt's defaults and encloses the others.
            state_groups_started_ = state_groups_started_ || line.startsWith("<g ");
            body_ += line;
            group_empty_ = false;
        }
    }

    const QByteArray& body() const { return body_; }

    // The clip paths, for the document's definitions.
    QByteArray definitions() const {
        QByteArray result;
        for (qsizetype i = 0; i < clips_.size(); ++i) {
            const QRect& r = clips_[i];
            result += "<clipPath id=\"clip" + QByteArray::number(i) + "\"><rect x=\"" +
                      QByteArray::number(r.x()) + "\" y=\"" + QByteArray::number(r.y()) +
                      "\" width=\"" + QByteArray::number(r.width()) + "\" height=\"" +
                      QByteArray::number(r.height()) + "\"/></clipPath>\n";
        }
        return result;
    }

  private:
    void open_group() {
        opener_start_ = body_.size();
        body_ += clip_ < 0 ? opener_
                           : "<g clip-path=\"url(#clip" + QByteArray::number(clip_) + ")\"" +
                                 opener_.mid(2);
        group_empty_ = true;
    }

    void change_clip(const QRect& rect) {
        clip_ = -1;
        if (!rect.contains(page_)) {
            clip_ = static_cast<int>(clips_.indexOf(rect));
            if (clip_ < 0) {
                clip_ = static_cast<int>(clips_.size());
                clips_.push_back(rect);
            }
        }
        if (opener_.isEmpty()) {
            return;  // no state group open to take the clip
        }
        if (group_empty_) {
            body_.truncate(opener_start_);
        } else {
            body_ += "</g>\n";
        }
        open_group();
    }

    QRect page_;
    QByteArray body_;
    QByteArray opener_;  // the last state group's opening tag, as Qt wrote it
    bool opener_complete_ = true;
    bool state_groups_started_ = false;
    qsizetype opener_start_ = 0;
    bool group_empty_ = true;
    int clip_ = -1;  // index in clips_, or -1 for none
    QList<QRect> clips_;
};

}  // namespace

void mark_svg_clip(QPainter& painter, const QRect* clip, QSize page_size) {
    const QRect page(QPoint(0, 0), page_size);
    painter.drawEllipse(QRectF(clip != nullptr ? (*clip & page) : page));
}

QByteArray with_svg_clips(const QByteArray& document, QSize page_size) {
    const QByteArray defs_end = "</defs>\n";
    const qsizetype body_start = document.indexOf(defs_end);
    if (body_start < 0) {
        return document;
    }
    BodyRewriter rewriter(page_size);
    qsizetype at = body_start + defs_end.size();
    while (at < document.size()) {
        qsizetype end = document.indexOf('\n', at);
        end = end < 0 ? document.size() : end + 1;
        rewriter.take(document.mid(at, end - at));
        at = end;
    }
    QByteArray head = document.left(body_start);
    // Clip paths are not part of SVG Tiny, the profile Qt declares.
    head.replace("version=\"1.2\" baseProfile=\"tiny\"", "version=\"1.1\"");
    return head + rewriter.definitions() + defs_end + rewriter.body();
}

}  // namespace toven::platform::qt
