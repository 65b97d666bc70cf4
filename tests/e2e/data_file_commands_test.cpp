// Data > Open... and Data > Save As... as a person uses them: the items chosen on the menu,
// the file dialog answered through its seam, the data windows open beside them.
#include <fstream>

#include "app/files/data_file.h"
#include "platform/file_dialog.h"
#include "tests/app/shell_fixture.h"
#include "tests/support/test_files.h"

namespace toven::test_support {
namespace {

using platform::inject::Key;

class DataFileCommands : public ShellTest {
  protected:
    void choose(MenuCommand item) {
        ASSERT_TRUE(platform::inject::choose_menu_command(main_window, command_number(item)));
    }

    static void retype_line(DataBox& box, int line, const std::string& text) {
        platform::inject::double_click_line(box.list, line);
        platform::inject::press_key(box.edit, Key::select_all);
        platform::inject::type_text(box.edit, text);
    }

    platform::FileDialogSeam dialog;
    TempFolder folder{"data-commands"};
};

// Typed but not taken with "u": Save As takes the lines as "u" would, so they are saved.
TEST_F(DataFileCommands, SaveAsWritesWhatTheDataWindowsShow) {
    command(fdata_command);
    command(gdata);
    retype_line(*state.fdata_box, 5, "f(x,y) = x*y");
    retype_line(*state.sdata_box, 9, std::string(sdata[10].name) + " = 35");
    dialog.queue_path(folder.file("plot"));
    choose(MenuCommand::save_data_as);

    ASSERT_EQ(dialog.shown().size(), 1u);
    EXPECT_EQ(dialog.shown()[0].caption, "Save As");
    EXPECT_FALSE(dialog.shown()[0].to_open);
    const std::string saved = read_file(folder.file("plot.toven"));
    EXPECT_NE(saved.find("\nf(x,y)=x*y\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("\ntilt=35\n"), std::string::npos) << saved;
    EXPECT_STREQ(record_value(fdata[6]), "x*y");

    // A picture's name is not given a data file's text.
    dialog.queue_path(folder.file("plot.png"));
    choose(MenuCommand::save_data_as);
    EXPECT_EQ(read_file(folder.file("plot.png")), "");
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].caption, "Save As");
}

TEST_F(DataFileCommands, OpenReplacesTheTablesAndTheOpenWindowsShowThem) {
    const std::string good = folder.file("good.toven");
    std::ofstream(good) << "f(x,y)=x-y\ntilt=45\n";
    const std::string bad = folder.file("bad.toven");
    std::ofstream(bad) << "a=9\nz=1\n";
    ASSERT_EQ(apply_assignment(state, "b=8"), std::nullopt);
    command(fdata_command);
    command(gdata);
    retype_line(*state.sdata_box, 0, "typed, not taken");

    dialog.queue_path(good);
    choose(MenuCommand::open_data);
    ASSERT_EQ(dialog.shown().size(), 1u);
    EXPECT_TRUE(dialog.shown()[0].to_open);
    EXPECT_EQ(dialog.shown()[0].types[0].extension, "toven png pdf svg");
    EXPECT_TRUE(boxes.shown().empty());
    // Replaced, not merged: b is the default again.
    EXPECT_EQ(platform::list_line(state.fdata_box->list, 1), "b = 3");
    EXPECT_EQ(platform::list_line(state.fdata_box->list, 5), "f(x,y) = x-y");
    EXPECT_EQ(platform::list_line(state.sdata_box->list, 0), std::string(sdata[1].name) + " = -1");
    EXPECT_EQ(platform::list_line(state.sdata_box->list, 9), std::string(sdata[10].name) + " = 45");
    EXPECT_EQ(platform::control_text(state.sdata_box->edit),
              platform::list_line(state.sdata_box->list, 0));

    dialog.queue_path(bad);
    choose(MenuCommand::open_data);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].caption, "Open");
    EXPECT_EQ(boxes.shown()[0].text.rfind("Unknown name \"z\"", 0), 0u);
    EXPECT_NE(boxes.shown()[0].text.find(" This is line 2 of \"" + bad + "\"."), std::string::npos);
    EXPECT_STREQ(record_value(fdata[1]), "3");
    EXPECT_EQ(platform::list_line(state.fdata_box->list, 5), "f(x,y) = x-y");
}

// A line whose name was retyped without its blanks leaves the value empty, which the plot reads
// as 0: the file keeps that 0, so Open and the command line take it back.
TEST_F(DataFileCommands, ASavedFileReopensToTheSamePage) {
    command(fdata_command);
    command(gdata);
    retype_line(*state.fdata_box, 0, "a=2");
    retype_line(*state.sdata_box, 9, "tilt = 70");
    const std::string saved = folder.file("typed.toven");
    dialog.queue_path(saved);
    choose(MenuCommand::save_data_as);
    const std::string text = read_file(saved);
    EXPECT_NE(text.find("\na=0\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\ntilt=0\n"), std::string::npos) << text;

    dialog.queue_path(saved);
    choose(MenuCommand::open_data);
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(platform::list_line(state.fdata_box->list, 0), "a = 0");
}

// An empty file, or one of comments only, would put every item back to its default.
TEST_F(DataFileCommands, AFileOfNoItemsChangesNothing) {
    ASSERT_EQ(apply_assignment(state, "b=8"), std::nullopt);
    const std::string empty = folder.file("empty.toven");
    std::ofstream(empty) << "# nothing yet\n\n";
    dialog.queue_path(empty);
    choose(MenuCommand::open_data);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text,
              "\"" + empty + "\" holds no data items.\n\nThe data are as they were.");
    EXPECT_STREQ(record_value(fdata[2]), "8");
}

}  // namespace
}  // namespace toven::test_support
