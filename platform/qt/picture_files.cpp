#include <QBuffer>
#include <QIODevice>
#include <QImageWriter>
#include <QPageSize>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <cstdint>

#include "platform/palette.h"
#include "platform/picture_data.h"
#include "platform/picture_files.h"
#include "platform/qt/drawing_log.h"
#include "platform/qt/large_image.h"
#include "platform/qt/picture_source.h"
#include "platform/qt/shared_painter.h"
#include "platform/qt/svg_clips.h"
#include "platform/safe_file.h"
#include "platform/tex_picture.h"
#include "platform/visible_text.h"
#include "platform/window.h"

namespace toven::platform {

namespace {

// Vector pages are laid out at this resolution, so one device pixel is one page unit.
constexpr int page_dpi = 96;
constexpr double points_per_inch = 72.0;

// Qt's writers write to a QIODevice; this one hands their bytes to a safely saved file,
// which keeps the system's cause of a failed write. A write that failed is not reported
// back: the libraries behind the writers would print their own complaint ("libpng error")
// beside the message that names the cause, which save_picture takes from the file.
class SafeFileDevice final : public QIODevice {
  public:
    explicit SafeFileDevice(SafeFile& file) : file_(file) { open(QIODevice::WriteOnly); }
    bool isSequential() const override { return true; }

  protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        file_.write(data, static_cast<std::size_t>(size));
        return size;
    }

  private:
    SafeFile& file_;
};

const QImage* picture_of(const Window& window) {
    const auto* source = dynamic_cast<const qt::PictureSource*>(&window);
    return source != nullptr ? &source->picture() : nullptr;
}

// Draws the window's picture on a page: again from its recording where it has one.
bool draw_page(const Window& window, QPaintDevice& page) {
    const auto& source = dynamic_cast<const qt::PictureSource&>(window);
    const qt::DrawingLog* log = source.recording();
    if (log == nullptr) {
        QPainter painter;
        if (!painter.begin(&page)) {
            return false;
        }
        painter.drawImage(0, 0, source.picture());
        return painter.end();
    }
    qt::SharedPainter painter(&page, qt::SharedPainter::Start::explicitly);
    if (!painter.begin()) {
        return false;
    }
    log->replay(painter, source.picture().size());
    return painter.end();
}

// A plot has a handful of colours, so its PNG is written with a palette, or null where the
// picture has more colours than a palette holds.
QImage with_palette(const QImage& image) {
    // Every pixel of this format is opaque and 32 bits, and its lines have no padding.
    const QImage opaque = image.convertToFormat(QImage::Format_RGB32);
    const auto* pixels = reinterpret_cast<const std::uint32_t*>(opaque.constBits());
    const auto count = static_cast<std::size_t>(opaque.width()) * opaque.height();
    const std::optional<IndexedColours> colours = index_colours({pixels, count});
    if (!colours) {
        return {};
    }
    QImage indexed = qt::make_large_image(opaque.size(), QImage::Format_Indexed8);
    for (int y = 0; y < indexed.height(); ++y) {
        std::copy_n(colours->indices.begin() + static_cast<std::ptrdiff_t>(y) * indexed.width(),
                    indexed.width(), indexed.scanLine(y));
    }
    indexed.setColorTable(QList<QRgb>(colours->palette.begin(), colours->palette.end()));
    return indexed;
}

// Light compression: the palette already makes the file small, and the strongest
// compression would cost more than the whole plot takes to draw.
bool write_png(const QImage& image, QIODevice& file) {
    constexpr int png_quality = 80;  // Qt's scale: 0 compresses most, 100 least
    const QImage indexed = with_palette(image);
    QImageWriter writer(&file, "PNG");
    writer.setQuality(png_quality);
    return writer.write(indexed.isNull() ? image : indexed);
}

// The picture is made in memory first, since its data text goes in after the header chunk.
// Qt's own text chunks would be tEXt or zTXt for ASCII text.
bool write_png_with_data(const QImage& image, const std::string& data_text, QIODevice& file) {
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    if (!write_png(image, png)) {
        return false;
    }
    const std::string bytes = png_with_text(png.data().toStdString(), data_text);
    return file.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
           static_cast<qint64>(bytes.size());
}

bool write_pdf(const Window& window, const QImage& image, const std::string& data_text,
               QIODevice& file) {
    QPdfWriter writer(&file);
    writer.setResolution(page_dpi);
    const QSizeF points(image.width() * points_per_inch / page_dpi,
                        image.height() * points_per_inch / page_dpi);
    writer.setPageSize(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setCreator(QStringLiteral("toven"));
    writer.setDocumentXmpMetadata(QByteArray::fromStdString(xmp_with_text(data_text)));
    return draw_page(window, writer);
}

// Made in memory first, since the data text goes in at the start of the <svg> element.
bool write_svg(const Window& window, const QImage& image, const std::string& data_text,
               QIODevice& file) {
    QBuffer svg;
    svg.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&svg);
    generator.setResolution(page_dpi);
    generator.setSize(image.size());
    generator.setViewBox(QRect(QPoint(0, 0), image.size()));
    if (!draw_page(window, generator)) {
        return false;
    }
    const QByteArray clipped = qt::with_svg_clips(svg.data(), image.size());
    const std::string bytes = svg_with_text(clipped.toStdString(), data_text);
    return file.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
           static_cast<qint64>(bytes.size());
}

std::string format_name(PictureFormat format) {
    switch (format) {
        case PictureFormat::png:
            return "PNG";
        case PictureFormat::pdf:
            return "PDF";
        case PictureFormat::svg:
            return "SVG";
        case PictureFormat::tex:
            return "TeX";
    }
    return {};
}

// The window's picture with every pixel opaque and 32 bits, in lines without padding; a null
// image where the window has no picture.
QImage opaque_picture(const Window& window) {
    const QImage* picture = picture_of(window);
    return picture != nullptr ? picture->convertToFormat(QImage::Format_RGB32) : QImage();
}

}  // namespace

double pixel_ratio(const Window& window) {
    const auto* source = dynamic_cast<const qt::PictureSource*>(&window);
    return source != nullptr ? source->pixel_ratio() : 1;
}

Image snapshot(const Window& window) {
    Image result;
    const QImage image = opaque_picture(window);
    if (image.isNull()) {
        return result;
    }
    result.width = image.width();
    result.height = image.height();
    const auto width = static_cast<std::size_t>(result.width);
    result.pixels.resize(width * static_cast<std::size_t>(result.height));
    // A large picture has millions of pixels: the loop is kept free of calls per pixel.
    ColourRef* out = result.pixels.data();
    for (int y = 0; y < result.height; ++y, out += width) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        std::transform(line, line + width, out,
                       [](QRgb pixel) { return rgb(qRed(pixel), qGreen(pixel), qBlue(pixel)); });
    }
    return result;
}

IndexedImage indexed_snapshot(const Window& window) {
    IndexedImage result;
    const QImage opaque = opaque_picture(window);
    if (opaque.isNull()) {
        return result;
    }
    result.width = opaque.width();
    result.height = opaque.height();
    const auto* pixels = reinterpret_cast<const std::uint32_t*>(opaque.constBits());
    result.colours = index_colours(
        {pixels, static_cast<std::size_t>(result.width) * static_cast<std::size_t>(result.height)});
    if (result.colours) {
        for (std::uint32_t& colour : result.colours->palette) {
            colour = rgb(qRed(colour), qGreen(colour), qBlue(colour));
        }
    }
    return result;
}

bool saves_vector_pages(const Window& window) {
    const auto* source = dynamic_cast<const qt::PictureSource*>(&window);
    return source != nullptr && source->recording() != nullptr;
}

std::optional<Refusal> save_picture(const Window& window, const std::string& path,
                                    PictureFormat format, const std::string& data_text) {
    if (format == PictureFormat::tex) {
        return save_tex_picture(window, path);
    }
    const QImage* image = picture_of(window);
    if (image == nullptr || image->isNull()) {
        return Refusal{"Cannot save " + quoted_path(path) + ": the picture has no pixels."};
    }
    // An SVG and a PDF's XMP keep the data as XML, which cannot carry every character that a
    // PNG keeps; a picture that could not be read back, or an SVG that is no XML, is not written.
    if (const std::string unfit =
            format == PictureFormat::png ? std::string() : xml_unfit(data_text);
        !unfit.empty()) {
        return Refusal{"Cannot save " + quoted_path(path) + ": " + unfit +
                       ", which XML cannot carry."};
    }
    SafeFile file(path);
    if (auto refusal = file.open()) {
        return refusal;
    }
    SafeFileDevice device(file);
    bool written = false;
    switch (format) {
        case PictureFormat::png:
            written = write_png_with_data(*image, data_text, device);
            break;
        case PictureFormat::pdf:
            written = write_pdf(window, *image, data_text, device);
            break;
        case PictureFormat::svg:
            written = write_svg(window, *image, data_text, device);
            break;
        case PictureFormat::tex:
            break;
    }
    // The file's own cause comes first: Qt's writers know only that a write failed.
    if (auto failure = file.failure()) {
        return failure;
    }
    if (!written) {
        return Refusal{"Cannot write \"" + path + "\": the " + format_name(format) +
                       " writer failed."};
    }
    return file.commit();
}

}  // namespace toven::platform
