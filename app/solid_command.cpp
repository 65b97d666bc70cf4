// The solid of the data tables written as binary STL (platform/stl_file.h).
#include "app/solid_command.h"

#include <array>
#include <string_view>

#include "app/command_line.h"
#include "app/user_tables.h"
#include "platform/stl_file.h"
#include "surface/plot_globals.h"
#include "surface/printable_solid.h"

namespace toven {

namespace {

platform::StlPoint stl_point(const SolidPoint& point) {
    return {point.x, point.y, point.z};
}

std::optional<platform::Refusal> write_stl(const std::string& path, const SolidLattice& lattice) {
    platform::StlFile file(path);
    if (auto refusal = file.open(solid_triangle_count(lattice))) {
        return refusal;
    }
    for_each_solid_triangle(lattice, [&file](const SolidTriangle& t) {
        file.add({stl_point(t[0]), stl_point(t[1]), stl_point(t[2])});
    });
    return file.commit();
}

// stl = "--render" FILE { NAME "=" VALUE }
std::optional<platform::Refusal> read_items(int argc, char** argv) {
    for (int i = 3; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument.starts_with("--")) {
            return platform::Refusal{"'" + std::string(argument) +
                                     "' draws pages; an STL file takes only NAME=VALUE items"};
        }
        if (auto refusal = apply_assignment(argument)) {
            return refusal;
        }
    }
    return std::nullopt;
}

}  // namespace

int run_solid_command(int argc, char** argv) {
    if (const auto refusal = read_items(argc, argv)) {
        return fail(refusal->message);
    }
    SurfaceFunction function(fdata);
    if (!compile_or_report(function)) {
        return 1;
    }
    function.load_parameters();
    load_graph_parameters(sdata);
    const GraphParameters& g = graph_parameters;
    const std::array<double, 6> box = {g.x1, g.x2, g.y1, g.y2, g.z1, g.z2};
    SolidLattice lattice;
    auto refusal = solid_refusal(box, g.mesh());
    if (!refusal) {
        refusal = sample_solid(function, box, g.mesh(), lattice);
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
