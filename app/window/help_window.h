// The help window's text: five sections, one per menu area, in a framed pale-yellow panel.
#pragma once

#include <string_view>
#include <vector>

#include "platform/window.h"

namespace toven {

struct HelpSection {
    std::string_view heading;
    std::vector<std::string_view> lines;
};

// The help text, section by section.
const std::vector<HelpSection>& help_sections();

// Draws the whole text into `window` with a Plotter of its own, made and discarded here.
void draw_help(platform::Window* window);

}  // namespace toven
