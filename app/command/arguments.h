// The arguments that follow a command's own: NAME=VALUE items, data files and, for pages, the
// options that shape them. One loop reads them for every command, in order, and sets each item
// as it comes; every number in them is read by app/number_text.h.
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "app/app_data.h"
#include "app/command/sweep_request.h"
#include "app/files/page_picture.h"
#include "platform/refusal.h"

namespace toven {

struct ArgumentRules {
    // The command as a refusal names it: "--eval", "an STL file", "the window program".
    std::string_view command;
    // Where --size, --print-layout and --figure go; null where the command draws no page.
    PagePicture* page = nullptr;
    // Where --sweep and --fps go; null where the command draws no sweep.
    Sweep* sweep = nullptr;
    // False where the command takes the formula in its own place, so an item cannot set it.
    bool formula_item = true;
};

// Reads `arguments` by `rules`: an option of the rules, an existing file as a data file, any
// other argument as one NAME=VALUE item. Returns the refusal of the first argument that cannot
// be taken; the items before it stay set.
std::optional<platform::Refusal> read_arguments(AppData& state, std::span<char* const> arguments,
                                                const ArgumentRules& rules);

}  // namespace toven
