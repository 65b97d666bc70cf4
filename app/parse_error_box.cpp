#include "app/parse_error_box.h"

#include "platform/message_box.h"

namespace toven {

namespace {

constexpr const char* parse_error_caption = "Parse error: therefore f(x,y) = 0";

}  // namespace

void ParseErrorBox::operator()(const std::string& formula_line) const {
    platform::message_box(owner, formula_line, parse_error_caption,
                          platform::MessageBoxButtons::ok);
}

}  // namespace toven
