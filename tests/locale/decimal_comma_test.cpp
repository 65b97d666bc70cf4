// Under a locale with a decimal comma (this program runs with LC_ALL=de_DE.UTF-8): the page, the
// readout and the command line write and read numbers with the decimal point, exactly as in
// the "C" locale, while the rest of the user's locale stays in force.
#include <clocale>
#include <cstdlib>
#include <string>

#include "app/files/data_file.h"
#include "platform/picture_files.h"
#include "tests/app/shell_fixture.h"
#include "tests/support/program_run.h"
#include "tests/support/test_files.h"

namespace toven::test_support {
namespace {

// Runs `body` with the whole process locale at "C", then puts the user's locale back.
template <typename Body>
void in_c_locale(Body body) {
    const std::string users = std::setlocale(LC_ALL, nullptr);
    std::setlocale(LC_ALL, "C");
    body();
    std::setlocale(LC_ALL, users.c_str());
}

bool same_pixels(const platform::Image& a, const platform::Image& b) {
    return a.width == b.width && a.height == b.height && a.pixels == b.pixels;
}

TEST(DecimalComma, TheSessionKeepsTheUsersTextAndTheDecimalPoint) {
    ASSERT_NE(std::string(std::setlocale(LC_CTYPE, nullptr)).find("de_DE"), std::string::npos)
        << "the test runs in the generated de_DE.UTF-8 locale";
    EXPECT_STREQ(std::localeconv()->decimal_point, ".");
    EXPECT_STREQ(std::localeconv()->thousands_sep, "");
}

using DecimalCommaWindow = ShellTest;

TEST_F(DecimalCommaWindow, ThePlotWindowAndItsReadoutEqualThePageInC) {
    command(screen);
    ASSERT_NE(state.plot_window, nullptr);
    const platform::Rect client = state.plot_window->client_rect();
    // Over the mini grid, which lies 77 to 98 percent across and 54 to 75 percent up.
    const platform::Point over_grid{client.width() * 80 / 100, client.height() * 30 / 100};
    // The default data hold "-0.2"; a parameter with a fraction also reaches the data panel.
    ASSERT_EQ(apply_assignment(state, "a=2.5"), std::nullopt);
    auto plot_and_read_out = [&] {
        platform::inject::click(state.plot_window, {5, 5});
        platform::inject::move_mouse(state.plot_window, over_grid);
        platform::inject::process_events();
        return platform::snapshot(*state.plot_window);
    };
    const platform::Image in_users_locale = plot_and_read_out();
    EXPECT_TRUE(state.readout_ready);
    platform::Image in_c;
    in_c_locale([&] { in_c = plot_and_read_out(); });
    EXPECT_TRUE(same_pixels(in_users_locale, in_c));
}

class DecimalCommaCommandLine : public testing::Test {
  protected:
    // The program's standard output, run in the user's locale or, with `c_locale`, in "C".
    static std::string toven(const std::string& arguments, bool c_locale = false) {
        const char* binary = std::getenv("TOVEN_BINARY");
        return command_output(std::string(c_locale ? "LC_ALL=C " : "") + "'" +
                              (binary != nullptr ? binary : "toven") + "' " + arguments + " 2>&1");
    }

    TempFolder folder_{"toven-locale"};
};

TEST_F(DecimalCommaCommandLine, EvalPrintsADecimalPoint) {
    struct Case {
        const char* name;
        const char* arguments;
        const char* output;
    } cases[] = {
        {"a half", "--eval x/2 1 0", "0.5\n"},
        {"a parameter with a fraction", "--eval a*x 3 0 a=0.25", "0.75\n"},
        {"a point read from the arguments", "--eval x+y 0.5 0.25", "0.75\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(toven(c.arguments), c.output) << c.name;
    }
}

TEST_F(DecimalCommaCommandLine, RenderDrawsThePageOfTheCLocale) {
    ASSERT_FALSE(folder_.path().empty());
    const std::string users = folder_.file("users.png");
    const std::string c = folder_.file("c.png");
    const std::string data = "a=2.5 tilt=22.5 'f(x,y)=a*x*y'";
    ASSERT_EQ(toven("--render '" + users + "' " + data), "");
    ASSERT_EQ(toven("--render '" + c + "' " + data, true), "");
    const std::string users_page = read_file(users);
    EXPECT_FALSE(users_page.empty());
    EXPECT_TRUE(users_page == read_file(c)) << "the same PNG, byte for byte";
}

}  // namespace
}  // namespace toven::test_support
