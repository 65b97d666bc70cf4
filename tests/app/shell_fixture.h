// A started shell for tests: the defaults in both tables, the main window up, every message
// box answered through the seam. Tearing down destroys what is left, as closing the main
// window does, and checks that every object was given back and every window pointer cleared.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "app/window/app_state.h"
#include "app/window/child_window.h"
#include "app/window/main_window.h"
#include "app/window/menu_command.h"
#include "app/window/shell.h"
#include "app/window/shell_state.h"
#include "platform/message_box.h"
#include "platform/window_system.h"
#include "surface/plot_driver.h"
#include "tests/support/colours.h"
#include "tests/support/event_injection.h"
#include "tests/support/pixel_counts.h"
#include "tests/support/recording_device.h"

namespace toven::test_support {

// The menu commands by the names the tests use ("fdata" is the table).
inline constexpr MenuCommand exit = MenuCommand::exit;
inline constexpr MenuCommand fdata_command = MenuCommand::function_data;
inline constexpr MenuCommand gdata = MenuCommand::graph_data;
inline constexpr MenuCommand screen = MenuCommand::screen;
inline constexpr MenuCommand print = MenuCommand::print;
inline constexpr MenuCommand save = MenuCommand::save;
inline constexpr MenuCommand help = MenuCommand::help;
inline constexpr MenuCommand about = MenuCommand::about;

inline bool alive(platform::Window* window) {
    const auto windows = platform::live_windows();
    return window != nullptr && std::ranges::find(windows, window) != windows.end();
}

class ShellTest : public testing::Test {
  protected:
    // Made first and gone last: the program's state, the tables at their defaults, which the
    // window procedures work on while the test runs.
    AppState state;
    DataTable& fdata = state.fdata;
    DataTable& sdata = state.sdata;

    void SetUp() override {
        before_ = platform::live_objects();
        main_window = start_shell(state);
    }

    void TearDown() override {
        if (alive(main_window)) {
            platform::destroy_window(main_window);
        }
        platform::inject::process_events();
        EXPECT_EQ(platform::live_objects(), before_) << "every object is given back";
        EXPECT_TRUE(platform::live_windows().empty());
        EXPECT_EQ(state.fdata_window, nullptr);
        EXPECT_EQ(state.sdata_window, nullptr);
        EXPECT_EQ(state.plot_window, nullptr);
        EXPECT_EQ(state.help_window, nullptr);
        EXPECT_EQ(state.fdata_box, nullptr);
        EXPECT_EQ(state.sdata_box, nullptr);
        EXPECT_EQ(state.plotter, nullptr);
        EXPECT_EQ(state.surface_function, nullptr);
        EXPECT_TRUE(state.help_closed);
        platform::take_posted_quit();
    }

    // The menu command as the main window's procedure gets it.
    void command(MenuCommand chosen) {
        main_window_procedure(main_window, platform::WM_COMMAND,
                              platform::make_wparam(command_number(chosen), 0), 0);
    }

    // Prints from now on go to a recording printer of this name instead of a real queue.
    void record_prints(std::string queue = "TestQueue") {
        printer_entry_ = std::make_unique<platform::PrinterEntrySeam>(queue + ",winspool,Ne00:");
    }
    void use_recording_printer() {
        state.plotter->open_printer = [log = printed](const std::string&) {
            return std::make_unique<RecordingDevice>("printer", log);
        };
    }

    bool box_shown(const std::string& text) const {
        return std::ranges::any_of(
            boxes.shown(), [&](const platform::ShownMessageBox& box) { return box.text == text; });
    }

    platform::MessageBoxSeam boxes;
    platform::Window* main_window = nullptr;
    std::shared_ptr<CallLog> printed = std::make_shared<CallLog>();

  private:
    platform::ObjectCounts before_;
    std::unique_ptr<platform::PrinterEntrySeam> printer_entry_;
};

}  // namespace toven::test_support
