// The data items by name, as the command line (and a data file) gives them: NAME and VALUE
// set the fdata or sdata record whose name, blanks trimmed, is NAME, as a data box would, once
// VALUE has passed the checks a person's typing gets. The data windows take what is typed
// unchecked, as they always have.
#pragma once

#include <optional>
#include <string_view>

#include "platform/refusal.h"

namespace toven {

// Sets the item called `name` to `value`, or returns the refusal for the person and changes
// nothing. A number item (a to e, x1 to z2, tilt) takes one decimal number, a counting item
// (n, m, k, pc, fc, ax) a whole number within int, blanks around either ignored and not
// stored; every item but the formula must fit a data window's line with its name.
std::optional<platform::Refusal> apply_item(std::string_view name, std::string_view value);

// `text` without the blanks (spaces and tabs) at either end.
std::string_view trim_blanks(std::string_view text);

}  // namespace toven
