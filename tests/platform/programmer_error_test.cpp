// Misuse of the platform's interface by the program stops it with a message that names the
// broken rule, in every build; it is never a quiet return or a message for the person.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/safe_file.h"
#include "platform/window_system.h"

namespace toven::platform {
namespace {

struct Misuse {
    const char* name;
    std::function<void()> call;
    const char* rule;
};

const std::vector<Misuse> misuses = {
    {"control_rect_of_null", [] { control_rect(nullptr); }, "a control call takes a control"},
    {"set_control_font_of_null", [] { set_control_font(nullptr, nullptr); },
     "a control call takes a control"},
    {"list_count_of_null", [] { list_count(nullptr); }, "the list calls take a list box"},
    {"list_insert_into_null", [] { list_insert(nullptr, -1, "line"); },
     "the list calls take a list box"},
    {"control_text_of_null", [] { control_text(nullptr); }, "control texts belong to an edit"},
    {"set_text_limit_of_null", [] { set_text_limit(nullptr, 10); }, "the edit calls take an edit"},
    {"commit_before_open",
     [] {
         SafeFile file("/nonexistent/never-opened.png");
         file.commit();
     },
     "a SafeFile is committed once, after an open"},
    {"write_before_open",
     [] {
         SafeFile file("/nonexistent/never-opened.png");
         file.write("x", 1);
     },
     "a SafeFile is written between open"},
};

class ProgrammerErrors : public ::testing::TestWithParam<Misuse> {};

TEST_P(ProgrammerErrors, StopTheProgramNamingTheRule) {
    // The session's threads are running: the child re-runs the test instead of forking mid-way.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(GetParam().call(), std::string("programmer error at .*") + GetParam().rule);
}

INSTANTIATE_TEST_SUITE_P(Platform, ProgrammerErrors, ::testing::ValuesIn(misuses),
                         [](const auto& test) { return std::string(test.param.name); });

}  // namespace
}  // namespace toven::platform
