#include "surface/surface_plotter.h"

namespace toven {

void SurfacePlotter::move_to_3d(double x, double y, double z) {
    move_to(project_h(x, y), project_v(x, y, z));
}

void SurfacePlotter::line_to_3d(double x, double y, double z) {
    line_to(project_h(x, y), project_v(x, y, z));
}

// The four edges at x1, the four at x2, then the four that join them.
void SurfacePlotter::draw_box(double x1, double x2, double y1, double y2, double z1, double z2) {
    move_to_3d(x1, y1, z1);
    line_to_3d(x1, y2, z1);
    line_to_3d(x1, y2, z2);
    line_to_3d(x1, y1, z2);
    line_to_3d(x1, y1, z1);
    line_to_3d(x2, y1, z1);
    line_to_3d(x2, y2, z1);
    line_to_3d(x2, y2, z2);
    line_to_3d(x2, y1, z2);
    line_to_3d(x2, y1, z1);
    move_to_3d(x1, y2, z1);
    line_to_3d(x2, y2, z1);
    move_to_3d(x1, y2, z2);
    line_to_3d(x2, y2, z2);
    move_to_3d(x1, y1, z2);
    line_to_3d(x2, y1, z2);
}

}  // namespace toven
