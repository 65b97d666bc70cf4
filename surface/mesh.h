// The mesh of a plot, in the order of the graph data: n intervals in y, m in x, and k sampling
// steps along a curve between neighbouring mesh points. Passed whole, so that m and n cannot
// change places on the way.
#pragma once

namespace toven {

struct Mesh {
    int n = 0;
    int m = 0;
    int k = 0;
};

}  // namespace toven
