// The solid of the data tables written as binary STL (platform/stl_file.h).
#include "app/command/solid_command.h"

#include <array>
#include <optional>
#include <span>
#include <string_view>

#include "app/command/arguments.h"
#include "app/command/command_output.h"
#include "platform/stl_file.h"
#include "surface/graph_parameters.h"
#include "surface/grid_function.h"
#include "surface/printable_solid.h"
#include "surface/uneven_nodes.h"

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

}  // namespace

int run_solid_command(AppData& state, int argc, char** argv) {
    const ArgumentRules rules{.command = "an STL file"};
    if (const auto refusal = read_arguments(state, std::span(argv + 3, argv + argc), rules)) {
        return fail(refusal->message);
    }
    SurfaceFunction formula(state.fdata);
    std::optional<GridFunction> grid_heights;
    if (state.grid) {
        grid_heights.emplace(*state.grid);
    } else if (!compile_or_report(formula)) {
        return 1;
    }
    formula.load_parameters();
    FunctionXY& function = grid_heights ? static_cast<FunctionXY&>(*grid_heights) : formula;
    const GraphParameters g = load_graph_parameters(state.sdata);
    SolidLattice lattice;
    auto refusal = solid_refusal(g.box(), g.mesh());
    if (!refusal) {
        const SurfaceRequest request =
            state.grid ? with_grid_nodes(g.surface(), *state.grid) : g.surface();
        refusal = sample_solid(function, request, lattice,
                               state.grid ? SolidHoles::base : SolidHoles::zero);
    }
    if (refusal) {
        return fail(refusal->message);
    }
    if (auto failure = write_stl(argv[2], lattice)) {
        return fail(failure->message);
    }
    return 0;
}

}  // namespace toven
