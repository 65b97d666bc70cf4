// The Plotter's two-valued modes, as types of their own: a call site names the mode it asks
// for, and a bare 0 or 1 does not compile. Each mode keeps the short names its callers use.
#pragma once

namespace toven {

// begin_output's device and the field `printing`.
enum class OutputDevice { screen, printer };
inline constexpr OutputDevice screen_output = OutputDevice::screen;
inline constexpr OutputDevice printer_output = OutputDevice::printer;

// The field `colour`: monochrome only while printing a job for which colour was declined.
enum class ColourMode { monochrome, colour };
inline constexpr ColourMode monochrome = ColourMode::monochrome;
inline constexpr ColourMode in_colour = ColourMode::colour;

// set_viewport's `clip` and the field `clipping`: whether drawing is cut at the viewport.
enum class Clipping { off, on };
inline constexpr Clipping clip_off = Clipping::off;
inline constexpr Clipping clip_on = Clipping::on;

// to_world_x and to_world_y: whether a device point outside the viewport maps to its edge.
enum class Clamping { off, on };
inline constexpr Clamping clamp_off = Clamping::off;
inline constexpr Clamping clamp_on = Clamping::on;

// open_panel: a framed panel is filled, framed and its text cursor put home; an unframed one
// only takes the panel's colours, viewport and saved text cursor again.
enum class PanelFrame { unframed, framed };
inline constexpr PanelFrame panel_unframed = PanelFrame::unframed;
inline constexpr PanelFrame panel_framed = PanelFrame::framed;

// draw_frame: the pen number that stands for the viewport's `frame_pen`.
inline constexpr int current_frame_pen = -1;

}  // namespace toven
