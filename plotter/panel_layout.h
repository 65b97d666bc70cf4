// One panel of a page as a caller describes it to Plotter::open_panel.
#pragma once

namespace toven {

struct PanelLayout {
    int left = 0;  // percent of the device width, from the left
    int right = 0;
    int bottom = 0;  // percent of the device height, from the bottom
    int top = 0;
    int brush = 0;  // background number
    int frame_pen = 0;
    int pen = 0;
    int text_colour = 0;
    int text_x = 1;  // the panel's saved text cursor, device units
    int text_y = 1;
};

}  // namespace toven
