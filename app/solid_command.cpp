// The solid of the data tables written as binary STL: an 80-byte header, the triangle count,
// then per triangle its normal, its three corners (single-precision, little-endian) and an
// unused 16-bit attribute.
#include "app/solid_command.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <span>
#include <string_view>

#include "app/arguments.h"
#include "app/command_output.h"
#include "app/page_picture.h"
#include "platform/safe_file.h"
#include "surface/graph_parameters.h"
#include "surface/printable_solid.h"

namespace toven {

namespace {

// An ASCII STL file begins with "solid", so a binary header must not.
constexpr std::string_view stl_header = "binary STL of z = f(x,y) written by toven";
constexpr std::size_t stl_header_size = 80;
constexpr std::size_t stl_triangle_size = 50;

class StlWriter {
  public:
    explicit StlWriter(platform::SafeFile& file) : file_(file) {}

    void header(std::size_t triangles) {
        std::array<char, stl_header_size> text{};
        stl_header.copy(text.data(), text.size());
        file_.write(text.data(), text.size());
        put_uint32(static_cast<std::uint32_t>(triangles));
        flush();
    }

    // The normal is the unit cross product of the corners' edges, the way readers check it.
    void triangle(const SolidTriangle& t) {
        const double ux = t[1].x - t[0].x, uy = t[1].y - t[0].y, uz = t[1].z - t[0].z;
        const double vx = t[2].x - t[0].x, vy = t[2].y - t[0].y, vz = t[2].z - t[0].z;
        const double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
        const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
        const double scale = length > 0 ? 1 / length : 0;
        put_point({static_cast<float>(nx * scale), static_cast<float>(ny * scale),
                   static_cast<float>(nz * scale)});
        for (const SolidPoint& corner : t) {
            put_point(corner);
        }
        bytes_[used_++] = 0;
        bytes_[used_++] = 0;
        if (used_ + stl_triangle_size > bytes_.size()) {
            flush();
        }
    }

    void flush() {
        file_.write(bytes_.data(), used_);
        used_ = 0;
    }

  private:
    void put_uint32(std::uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8) {
            bytes_[used_++] = static_cast<char>((value >> shift) & 0xFF);
        }
    }
    void put_point(const SolidPoint& point) {
        put_uint32(std::bit_cast<std::uint32_t>(point.x));
        put_uint32(std::bit_cast<std::uint32_t>(point.y));
        put_uint32(std::bit_cast<std::uint32_t>(point.z));
    }

    platform::SafeFile& file_;
    std::array<char, 1000 * stl_triangle_size> bytes_{};
    std::size_t used_ = 0;
};

std::optional<platform::Refusal> write_stl(const std::string& path, const SolidLattice& lattice) {
    platform::SafeFile file(path);
    if (auto refusal = file.open()) {
        return refusal;
    }
    StlWriter writer(file);
    writer.header(solid_triangle_count(lattice));
    for_each_solid_triangle(lattice, [&writer](const SolidTriangle& t) { writer.triangle(t); });
    writer.flush();
    if (auto failure = file.failure()) {
        return failure;
    }
    return file.commit();
}

}  // namespace

bool is_solid_file(const std::string& path) {
    return picture_extension(path) == "stl";
}

int run_solid_command(AppState& state, int argc, char** argv) {
    const ArgumentRules rules{.command = "an STL file"};
    if (const auto refusal = read_arguments(state, std::span(argv + 3, argv + argc), rules)) {
        return fail(refusal->message);
    }
    SurfaceFunction function(state.fdata);
    if (!compile_or_report(function)) {
        return 1;
    }
    function.load_parameters();
    const GraphParameters g = load_graph_parameters(state.sdata);
    SolidLattice lattice;
    auto refusal = solid_refusal(g.box(), g.mesh());
    if (!refusal) {
        refusal = sample_solid(function, g.box(), g.mesh(), lattice);
    }
    if (refusal) {
        return fail("cannot make a solid: " + refusal->message);
    }
    if (auto failure = write_stl(argv[2], lattice)) {
        return fail(failure->message);
    }
    return 0;
}

}  // namespace toven
