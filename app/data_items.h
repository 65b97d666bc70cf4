// The data items by name, as the command line (and a data file) gives them: NAME and VALUE
// set the fdata or sdata record whose name, blanks trimmed, is NAME, as a data box would, once
// VALUE has passed the checks a person's typing gets. The data windows take what is typed
// unchecked, as they always have.
#pragma once

#include <optional>
#include <string_view>

#include "app/app_data.h"
#include "expr/item_table.h"
#include "platform/refusal.h"

namespace toven {

// The longest line the edit takes: a display line holds 119 characters and its terminator,
// and the line read from the edit stops one short of that. The edit's own limit counts
// characters, and a character outside ASCII takes several bytes, so a change that leaves more
// bytes than this is refused (see the data box's handle_command).
inline constexpr int longest_edit_line = 118;

// Sets the item called `name` to `value`, or returns the refusal for the person and changes
// nothing. A number item takes one decimal number, a counting item a whole number within int,
// blanks around either ignored and not stored; every item but the formula must fit a data
// window's line with its name.
std::optional<platform::Refusal> apply_item(AppData& state, std::string_view name,
                                            std::string_view value);

// The checks of apply_item alone: the refusal, or nothing with `item` set to the item called
// `name`. Nothing changes.
std::optional<platform::Refusal> check_item(std::string_view name, std::string_view value,
                                            const ItemSpec*& item);

}  // namespace toven
