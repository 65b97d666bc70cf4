// A page evaluated on several threads is drawn exactly as on one: the same lines in the same
// order and pens, failing and undefined points included, over pages of several bands.
#include <gtest/gtest.h>

#include <vector>

#include "tests/support/scoped_threads.h"
#include "tests/support/test_tables.h"
#include "tests/surface/surface_test_support.h"

namespace toven {
namespace {

using surface_test::RecordedSurface;
using test_support::ScopedThreads;
using test_support::Segment;

// The formula through evaluate alone, as a function that cannot be shared.
class OneThreadFunction final : public FunctionXY {
  public:
    explicit OneThreadFunction(SurfaceFunction& f) : f_(f) {}
    double evaluate(double x, double y) override { return f_.evaluate(x, y); }

  private:
    SurfaceFunction& f_;
};

struct PageCase {
    const char* name;
    const char* formula;
    Mesh mesh;
    double tilt;
};

std::vector<Segment> drawn_segments(FunctionXY& function, const PageCase& c) {
    RecordedSurface surface;
    const SurfaceRequest request{{-1, 1, -1, 1, -0.2, 1.2}, c.mesh, c.tilt};
    EXPECT_EQ(surface.plotter.draw_surface(function, request), std::nullopt);
    return surface.window.log->segments;
}

TEST(ParallelPage, ThreadsDrawWhatOneThreadDraws) {
    const PageCase cases[] = {
        {"default formula, two bands a family", "sin(|x|^a  + |y|^b)", {40, 1200, 12}, 15},
        {"failing log, sqrt and division", "log(x)+sqrt(y)+1/(x-y)", {60, 120, 10}, 15},
        {"undefined powers and infinities", "(x-0.5)^(y*3)+exp(200*y)", {120, 60, 10}, -30},
    };
    for (const PageCase& c : cases) {
        SCOPED_TRACE(c.name);
        DataTable fdata = test_support::default_fdata();
        fdata.records.back() = make_record("f(x,y)", c.formula);
        SurfaceFunction function(fdata);
        function.compile();
        function.load_parameters();
        OneThreadFunction one_thread(function);
        const std::vector<Segment> expected = drawn_segments(one_thread, c);
        EXPECT_GT(expected.size(), 100u);
        for (const char* threads : {"1", "2", "3"}) {
            const ScopedThreads scoped(threads);
            EXPECT_TRUE(drawn_segments(function, c) == expected) << threads << " threads";
        }
    }
}

}  // namespace
}  // namespace toven
