// The small cross that links the two views of a readout: on the mini grid over the point read
// on the surface, or on the surface over the point read on the mini grid. The pixels under it
// are kept, so that it goes again without the page being redrawn.
#pragma once

#include "platform/device.h"
#include "plotter/colour_tables.h"
#include "plotter/panel_layout.h"
#include "plotter/plotter.h"

namespace toven {

class ReadoutMarker {
  public:
    // Keeps the pixels under a cross centred on `centre` and draws it in pen `pen`, inside the
    // panel `layout` (opened unclipped by anything else, unframed). Needs open screen output.
    void draw(Plotter& plotter, PanelLayout layout, platform::Point centre, int pen);
    // Puts back the pixels under the cross drawn last, if any; then there is none.
    void remove(platform::Device& device);
    // A new page has no cross: the kept pixels are dropped, not put back.
    void forget() { under_ = {}; }
    bool drawn() const { return under_.rect.width() > 0; }

  private:
    platform::SavedPixels under_;
};

// On the mini grid the cross is red, which neither the grid nor its axes use.
inline constexpr int grid_marker_pen = pen_red;

// The pen of a cross on a surface drawn in `surface_pen`: of black, red, green and blue, the
// one whose colour lies farthest from both sides of the surface.
int surface_marker_pen(int surface_pen);

}  // namespace toven
