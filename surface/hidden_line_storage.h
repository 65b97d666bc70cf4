// The memory of the hidden-line drawing, kept by a drawing state from one page to the next:
// the two horizons, the heights of the two front edges and of the two bands in flight. A
// window's pages mostly keep their size (the frames of a view moved by hand do, and so does a
// page drawn again), so the next one finds its memory allocated and already in use, instead of
// asking the system for fresh pages and faulting each one in. One storage serves one drawing at
// a time: pages drawn at once each need their own.
#pragma once

#include <array>
#include <vector>

namespace toven {

struct HiddenLineStorage {
    std::vector<double> upper;
    std::vector<double> lower;
    std::vector<double> front_column;  // x = x1
    std::vector<double> front_row;     // y = y1
    std::array<std::vector<double>, 2> bands;
};

}  // namespace toven
