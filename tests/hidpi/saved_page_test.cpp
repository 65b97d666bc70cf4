// Plot > Save... on a screen that Qt scales by two: the file holds the plot window's page as
// the screen shows it, at the window's physical pixels, its text at the doubled resolution.
#include <unistd.h>

#include <filesystem>

#include "platform/file_dialog.h"
#include "tests/app/shell_fixture.h"
#include "tests/support/tool_output.h"

namespace toven::test_support {
namespace {

using ScaledSaveTest = ShellTest;

TEST_F(ScaledSaveTest, TheSavedPageIsTheWindowsPagePixelForPixel) {
    std::string folder = testing::TempDir() + "toven-scaled-save-XXXXXX";
    ASSERT_NE(::mkdtemp(folder.data()), nullptr);
    platform::FileDialogSeam dialog;
    command(screen);
    platform::inject::click(state.plot_window, {20, 20});
    dialog.queue_path(folder + "/page.png");
    command(save);
    const platform::Image saved = decoded_picture(folder + "/page.png");
    const platform::Image shown = platform::inject::shown_on_screen(state.plot_window);
    EXPECT_EQ(saved.width, 400);
    EXPECT_EQ(saved.height, 400);
    EXPECT_EQ(saved.pixels, shown.pixels);
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace toven::test_support
