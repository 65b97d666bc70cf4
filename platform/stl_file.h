// A binary STL file, the solid's format for 3-D printers, written triangle by triangle into a
// SafeFile: the file is replaced whole, once commit() succeeds, or not at all. Its layout: an
// 80-byte header, the triangle count, then per triangle its normal and its three corners
// (single-precision, little-endian) and an unused 16-bit attribute.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/refusal.h"
#include "platform/safe_file.h"

namespace toven::platform {

struct StlPoint {
    float x = 0;
    float y = 0;
    float z = 0;
};

// The corners in the order that faces outwards (counter-clockwise seen from outside).
using StlTriangle = std::array<StlPoint, 3>;

class StlFile {
  public:
    // Nothing is touched before open(). `path` is the name the person gave; messages use it.
    explicit StlFile(std::string path);

    // Starts the file with the count of the triangles that follow. The message on failure.
    std::optional<Refusal> open(std::size_t triangles);

    // Appends a triangle, with the unit normal its corners give.
    void add(const StlTriangle& triangle);

    // Ends the file and puts it in the target's place. The message on failure; a corner that
    // is not a finite number, which no printer reads, leaves the target as it was.
    std::optional<Refusal> commit();

  private:
    void put_uint32(std::uint32_t value);
    void put_point(const StlPoint& point);
    void flush();

    SafeFile file_;
    std::vector<char> bytes_;  // written in blocks, not a write a triangle
    std::size_t used_ = 0;
    bool all_finite_ = true;
};

}  // namespace toven::platform
