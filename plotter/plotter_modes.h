// Names for the Plotter's modes that are 0/1 ints, in its fields and in its operations'
// arguments, so that a call site says which mode it asks for.
#pragma once

namespace toven {

// begin_output(to_printer) and the field `printing`.
inline constexpr int screen_output = 0;
inline constexpr int printer_output = 1;

// The field `colour`: monochrome only while printing a job for which colour was declined.
inline constexpr int monochrome = 0;
inline constexpr int in_colour = 1;

// set_viewport's `clip` and the field `clipping`: whether drawing is cut at the viewport.
inline constexpr int clip_off = 0;
inline constexpr int clip_on = 1;

// to_world_x and to_world_y: whether a device point outside the viewport maps to its edge.
inline constexpr int clamp_off = 0;
inline constexpr int clamp_on = 1;

// open_panel: a framed panel is filled, framed and its text cursor put home; an unframed one
// only takes the panel's colours, viewport and saved text cursor again.
inline constexpr int panel_unframed = 0;
inline constexpr int panel_framed = 1;

// draw_frame: the pen number that stands for the viewport's `frame_pen`.
inline constexpr int current_frame_pen = -1;

}  // namespace toven
