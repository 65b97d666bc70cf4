// toven started without a display that opens: it says so in its own words, points to --render,
// and ends with status 1 (the server at a display that does answer but lacks the screen asked
// for is tried in the journey on a real X server).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/support/program_run.h"

namespace toven {
namespace {

// What the program writes and its exit status, as "... status N".
std::string start_toven(const std::string& environment) {
    const char* binary = std::getenv("TOVEN_BINARY");
    return test_support::command_output(
        "env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY " + environment + " '" +
        (binary != nullptr ? binary : "toven") + "' 2>&1; echo \"status $?\"");
}

TEST(NoDisplay, SaysSoPointsToRenderAndEndsWithStatus1) {
    struct Case {
        const char* name;
        const char* environment;
        const char* names;
    } cases[] = {
        {"nothing named", "", "neither DISPLAY nor WAYLAND_DISPLAY is set"},
        {"an X display where no server listens", "DISPLAY=:4711", "DISPLAY=:4711"},
        {"a Wayland socket that is not there", "WAYLAND_DISPLAY=toven-no-such-wayland",
         "WAYLAND_DISPLAY=toven-no-such-wayland"},
    };
    for (const Case& c : cases) {
        const std::string said = start_toven(c.environment);
        EXPECT_NE(said.find("toven: no display could be opened"), std::string::npos) << c.name;
        EXPECT_NE(said.find(c.names), std::string::npos) << c.name << ": " << said;
        EXPECT_NE(said.find("toven --render toven.png"), std::string::npos) << c.name;
        EXPECT_EQ(said.substr(said.rfind("status")), "status 1\n") << c.name;
    }
}

// A platform that Qt does not have is named as such, with those it has.
TEST(NoDisplay, UnknownPlatformIsNamed) {
    const std::string said = start_toven("QT_QPA_PLATFORM=nonsense");
    EXPECT_NE(said.find("toven: Qt has no window-system platform \"nonsense\""), std::string::npos)
        << said;
    EXPECT_NE(said.find("offscreen"), std::string::npos) << said;
    EXPECT_EQ(said.find("no display could be opened"), std::string::npos) << said;
    EXPECT_EQ(said.substr(said.rfind("status")), "status 1\n");
}

}  // namespace
}  // namespace toven
