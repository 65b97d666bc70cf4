#include "platform/stl_file.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <string_view>

namespace toven::platform {

namespace {

// An ASCII STL file begins with "solid", so a binary header must not.
constexpr std::string_view stl_header = "binary STL of z = f(x,y) written by toven";
constexpr std::size_t stl_header_size = 80;
constexpr std::size_t stl_triangle_size = 50;
constexpr std::size_t triangles_a_block = 1000;

}  // namespace

StlFile::StlFile(std::string path)
    : file_(std::move(path)), bytes_(triangles_a_block * stl_triangle_size) {}

std::optional<Refusal> StlFile::open(std::size_t triangles) {
    if (auto refusal = file_.open()) {
        return refusal;
    }
    std::array<char, stl_header_size> header{};
    stl_header.copy(header.data(), header.size());
    file_.write(header.data(), header.size());
    put_uint32(static_cast<std::uint32_t>(triangles));
    flush();
    return std::nullopt;
}

// The normal is the unit cross product of the corners' edges, the way readers check it.
void StlFile::add(const StlTriangle& t) {
    const double ux = t[1].x - t[0].x, uy = t[1].y - t[0].y, uz = t[1].z - t[0].z;
    const double vx = t[2].x - t[0].x, vy = t[2].y - t[0].y, vz = t[2].z - t[0].z;
    const double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
    const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
    const double scale = length > 0 ? 1 / length : 0;
    put_point({static_cast<float>(nx * scale), static_cast<float>(ny * scale),
               static_cast<float>(nz * scale)});
    for (const StlPoint& corner : t) {
        all_finite_ = all_finite_ && std::isfinite(corner.x) && std::isfinite(corner.y) &&
                      std::isfinite(corner.z);
        put_point(corner);
    }
    bytes_[used_++] = 0;
    bytes_[used_++] = 0;
    if (used_ + stl_triangle_size > bytes_.size()) {
        flush();
    }
}

std::optional<Refusal> StlFile::commit() {
    flush();
    if (auto failure = file_.failure()) {
        return failure;
    }
    if (!all_finite_) {
        return Refusal{"A corner of the solid is not a finite number, so nothing was written."};
    }
    return file_.commit();
}

void StlFile::put_uint32(std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        bytes_[used_++] = static_cast<char>((value >> shift) & 0xFF);
    }
}

void StlFile::put_point(const StlPoint& point) {
    put_uint32(std::bit_cast<std::uint32_t>(point.x));
    put_uint32(std::bit_cast<std::uint32_t>(point.y));
    put_uint32(std::bit_cast<std::uint32_t>(point.z));
}

void StlFile::flush() {
    file_.write(bytes_.data(), used_);
    used_ = 0;
}

}  // namespace toven::platform
