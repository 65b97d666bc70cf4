// toven --render FILE --sweep NAME=FROM:TO:FRAMES [--fps N]: the page drawn once per frame
// with the number item NAME moving from FROM to TO, into one looping GIF, or into one PNG, PDF
// or SVG file per frame when FILE holds a frame number pattern (frame-%03d.png).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/command/sweep_request.h"
#include "app/files/page_picture.h"
#include "expr/surface_function.h"
#include "platform/refusal.h"

namespace toven {

// Draws every frame as save_page draws the page with the item set in the state's tables to the
// frame's value, with `function` compiled once (the caller has compiled the state's formula).
// All frames are weighed first: if any cannot be plotted, nothing is written. A write that
// fails ends the sweep; frame files written before it stay. The tables keep the value of the
// last frame set.
SavedPage save_sweep(AppData& state, const PagePicture& picture, const Sweep& sweep,
                     SurfaceFunction& function);

}  // namespace toven
