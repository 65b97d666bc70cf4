#include "platform/qt/large_image.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace toven::platform::qt {

namespace {

// The large page of x86-64 and the smallest image worth one: below it the few page faults
// saved cost less than clearing a large page.
constexpr std::size_t large_page = std::size_t{2} << 20;
constexpr std::size_t smallest_large_image = std::size_t{256} << 10;

std::uintptr_t round_up(std::uintptr_t value, std::size_t step) {
    return (value + step - 1) / step * step;
}

struct Mapping {
    void* start;
    std::size_t length;
};

void unmap(void* mapping) {
    const auto* region = static_cast<Mapping*>(mapping);
    munmap(region->start, region->length);
    delete region;
}

}  // namespace

QImage make_large_image(QSize size, QImage::Format format) {
    const int depth = QImage::toPixelFormat(format).bitsPerPixel();
    // Qt's own row length: whole 32-bit words.
    const qsizetype bytes_per_line = (qsizetype{size.width()} * depth + 31) / 32 * 4;
    const auto bytes = static_cast<std::size_t>(bytes_per_line) * std::max(size.height(), 0);
    if (size.isEmpty() || bytes < smallest_large_image) {
        return QImage(size, format);
    }
    // One large page more than needed, to start the pixels on a large page's boundary.
    const std::size_t used = round_up(bytes, large_page);
    const std::size_t length = used + large_page;
    void* start = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (start == MAP_FAILED) {
        return QImage(size, format);
    }
    auto* pixels =
        reinterpret_cast<uchar*>(round_up(reinterpret_cast<std::uintptr_t>(start), large_page));
    // Only advice: where the system has no large pages the memory is ordinary.
    madvise(pixels, used, MADV_HUGEPAGE);
    return QImage(pixels, size.width(), size.height(), bytes_per_line, format, &unmap,
                  new Mapping{start, length});
}

}  // namespace toven::platform::qt
