// Data boxes in their data windows, driven through the list, edit and button as a person
// uses them.
#include <cstring>

#include <ostream>
#include "expr/data_table.h"

#include "app/data_items.h"
#include "tests/app/shell_fixture.h"

namespace toven::test_support {
namespace {

using platform::inject::Key;

class DataBoxTest : public ShellTest {
  protected:
    DataBox& open_fdata() {
        command(fdata_command);
        return *state.fdata_box;
    }
    // Replaces the edit's whole text by typing, keystroke by keystroke.
    static void retype(DataBox& box, const std::string& text) {
        platform::inject::press_key(box.edit, Key::select_all);
        platform::inject::type_text(box.edit, text);
    }
};

TEST_F(DataBoxTest, FdataBoxShowsTheItemLinesAndTheFirstInTheEdit) {
    DataBox& box = open_fdata();
    ASSERT_EQ(platform::list_count(box.list), 6);
    EXPECT_EQ(platform::list_line(box.list, 0), "a = 3");
    EXPECT_EQ(platform::list_line(box.list, 5), "f(x,y) = sin(|x|^a  + |y|^b)");
    EXPECT_EQ(platform::control_text(box.edit), "a = 3");
    EXPECT_EQ(platform::control_text(box.button), "u");
    EXPECT_TRUE(box.built);
    EXPECT_EQ(box.current, 0);
    EXPECT_TRUE(platform::inject::control_font_is_fixed_pitch(box.list));
    EXPECT_TRUE(platform::inject::control_font_is_fixed_pitch(box.edit));
    EXPECT_EQ(platform::window_title(state.fdata_window), "fdata");
}

// The items that the graph data window does not show (curves, turn) stay out of its list.
TEST_F(DataBoxTest, SdataBoxShowsFourteenLines) {
    command(gdata);
    ASSERT_NE(state.sdata_box, nullptr);
    ASSERT_EQ(platform::list_count(state.sdata_box->list), 14);
    EXPECT_EQ(platform::list_line(state.sdata_box->list, 0), "x1        = -1");
    EXPECT_EQ(platform::list_line(state.sdata_box->list, 13), "title     = ");
}

// The controls are placed by the data window's default font: the list from the third line,
// the button "u" a little over a line above it, the edit above that; list and edit as wide
// as a scroll bar and the table's longest line.
struct LayoutCase {
    const char* name;
    MenuCommand command;
    int longest_line;
    int items;
};
void PrintTo(const LayoutCase& test, std::ostream* out) {
    *out << test.name;
}

class DataBoxLayoutTest : public DataBoxTest, public testing::WithParamInterface<LayoutCase> {};

TEST_P(DataBoxLayoutTest, ControlsSitWhereTheFontPutsThem) {
    const LayoutCase& layout = GetParam();
    command(layout.command);
    DataBox& box = layout.command == fdata_command ? *state.fdata_box : *state.sdata_box;
    const int c = box.char_width;
    const int h = box.line_height;
    ASSERT_GT(c, 0);
    ASSERT_GT(h, 0);
    const int width = platform::vertical_scroll_bar_width() + layout.longest_line * c;
    const int edit_top = 3 * h - static_cast<int>(2.5 * h);
    const int button_top = 3 * h - static_cast<int>(1.1 * h);
    EXPECT_EQ(platform::control_rect(box.list),
              (platform::Rect{c, 3 * h, c + width, 3 * h + (layout.items + 1) * h}));
    EXPECT_EQ(platform::control_rect(box.edit),
              (platform::Rect{c, edit_top, c + width, edit_top + h}));
    EXPECT_EQ(platform::control_rect(box.button),
              (platform::Rect{c, button_top, c + 2 * c, button_top + h}));
}

INSTANTIATE_TEST_SUITE_P(Tables, DataBoxLayoutTest,
                         testing::Values(LayoutCase{"fdata_formula_line", fdata_command, 28, 6},
                                         LayoutCase{"sdata_z1_line", gdata, 16, 14}),
                         [](const auto& test) { return std::string(test.param.name); });

TEST_F(DataBoxTest, EveryKeystrokeChangesTheListButNotTheTable) {
    DataBox& box = open_fdata();
    platform::inject::double_click_line(box.list, 5);
    EXPECT_EQ(box.current, 5);
    EXPECT_EQ(platform::control_text(box.edit), "f(x,y) = sin(|x|^a  + |y|^b)");

    platform::inject::press_key(box.edit, Key::end);
    platform::inject::press_key(box.edit, Key::backspace);
    EXPECT_EQ(platform::list_line(box.list, 5), "f(x,y) = sin(|x|^a  + |y|^b");
    platform::inject::type_text(box.edit, "+1)");
    EXPECT_EQ(platform::list_line(box.list, 5), "f(x,y) = sin(|x|^a  + |y|^b+1)");
    EXPECT_EQ(platform::list_selection(box.list), 5) << "the highlight returns to the line";
    EXPECT_EQ(platform::list_count(box.list), 6);
    EXPECT_EQ(fdata[6].line, "f(x,y) = sin(|x|^a  + |y|^b)") << "not written back yet";

    platform::inject::click(box.button);
    EXPECT_EQ(fdata[6].line, "f(x,y) = sin(|x|^a  + |y|^b+1)");
    EXPECT_STREQ(record_value(fdata[6]), "sin(|x|^a  + |y|^b+1)");
}

TEST_F(DataBoxTest, ASingleClickDoesNotMoveTheLineBeingEdited) {
    DataBox& box = open_fdata();
    platform::inject::double_click_line(box.list, 1);
    platform::inject::click_line(box.list, 3);
    retype(box, "b = 7");
    EXPECT_EQ(platform::list_line(box.list, 1), "b = 7");
    EXPECT_EQ(platform::list_line(box.list, 3), "d = 1");
}

TEST_F(DataBoxTest, ClosingTheWindowWritesBackAndReopeningShowsIt) {
    DataBox& box = open_fdata();
    platform::inject::double_click_line(box.list, 0);
    retype(box, "a = 2.5");
    platform::inject::close(state.fdata_window);
    EXPECT_EQ(state.fdata_box, nullptr);
    EXPECT_EQ(state.fdata_window, nullptr);
    EXPECT_EQ(fdata[1].value(), "2.5");

    DataBox& reopened = open_fdata();
    EXPECT_EQ(platform::list_line(reopened.list, 0), "a = 2.5");
    EXPECT_EQ(platform::control_text(reopened.edit), "a = 2.5");
}

TEST_F(DataBoxTest, ASecondFdataCommandWhileOpenDoesNothing) {
    open_fdata();
    platform::Window* first = state.fdata_window;
    DataBox* box = state.fdata_box.get();
    command(fdata_command);
    EXPECT_EQ(state.fdata_window, first);
    EXPECT_EQ(state.fdata_box.get(), box);
    EXPECT_EQ(platform::live_windows().size(), 2u) << "the main window and one data window";
}

TEST_F(DataBoxTest, TheBoxGivesItsFontBackWhenTheWindowCloses) {
    const int fonts = platform::live_objects().fonts;
    open_fdata();
    EXPECT_EQ(platform::live_objects().fonts, fonts + 1);
    platform::inject::close(state.fdata_window);
    EXPECT_EQ(platform::live_objects().fonts, fonts);
}

// The edit takes no more than a line can keep, so nothing typed is cut off on the way to the
// table; a formula longer than the value field still reaches the table whole.
TEST_F(DataBoxTest, ALongFormulaIsKeptWholeAndTypingStopsAtTheLineLimit) {
    DataBox& box = open_fdata();
    platform::inject::double_click_line(box.list, 5);
    const std::string formula = "x" + std::string(60, '+') + "y";
    retype(box, "f(x,y) = " + formula);
    platform::inject::click(box.button);
    EXPECT_EQ(std::string(record_value(fdata[6])), formula);

    retype(box, std::string(200, '1'));
    EXPECT_EQ(platform::control_text(box.edit).size(), 118u);
    EXPECT_EQ(platform::list_line(box.list, 5), std::string(118, '1'));

    // A last character of three bytes (the euro sign) does not fit whole; none of it is kept,
    // in the line or in the edit.
    retype(box, std::string(117, '1') + "\xE2\x82\xAC");
    EXPECT_EQ(platform::list_line(box.list, 5), std::string(117, '1'));
    EXPECT_EQ(platform::control_text(box.edit), std::string(117, '1'));
}

// The edit counts characters and a line holds bytes: characters outside ASCII fill a line
// before the edit is full. The edit then refuses more, so what it shows is what the line and
// the table keep.
// A formula longer than a line, as the command line may set it, comes back whole when its
// window is opened and closed without an edit.
TEST_F(DataBoxTest, AFormulaLongerThanALineSurvivesItsWindow) {
    const std::string formula = "x" + std::string(300, '+') + "y";
    ASSERT_EQ(apply_item(state, "f(x,y)", formula), std::nullopt);
    open_fdata();
    platform::inject::close(state.fdata_window);
    EXPECT_EQ(fdata[6].value(), formula);
}

TEST_F(DataBoxTest, TypingCharactersOfSeveralBytesStopsWhenTheLineIsFull) {
    command(gdata);
    DataBox& box = *state.sdata_box;
    platform::inject::double_click_line(box.list, 13);
    const std::string euro = "\xE2\x82\xAC";
    std::string title = "title     = ";
    while (title.size() + euro.size() <= 118) {
        title += euro;
    }
    platform::inject::press_key(box.edit, Key::select_all);
    platform::inject::type_text(box.edit, "title     = ");
    for (int i = 0; i < 60; ++i) {
        platform::inject::type_text(box.edit, euro);
    }
    EXPECT_EQ(platform::control_text(box.edit), title);
    EXPECT_EQ(platform::list_line(box.list, 13), title);

    // Typed in the middle of a full line, a character is refused and the end stays.
    platform::inject::press_key(box.edit, Key::home);
    platform::inject::type_text(box.edit, euro);
    EXPECT_EQ(platform::control_text(box.edit), title);

    platform::inject::click(box.button);
    EXPECT_EQ(sdata[14].line, title.c_str());
}

TEST_F(DataBoxTest, DataWindowsAndAPlotWindowEachHaveTheirOwnLines) {
    command(fdata_command);
    command(gdata);
    platform::inject::double_click_line(state.sdata_box->list, 6);
    retype(*state.sdata_box, "n         = 9");
    EXPECT_EQ(platform::list_line(state.fdata_box->list, 5), "f(x,y) = sin(|x|^a  + |y|^b)")
        << "a notification reaches every box, and only its own box acts";
    platform::inject::click(state.fdata_box->button);
    EXPECT_EQ(sdata[7].value(), "20") << "the fdata box's button writes only fdata";
    platform::inject::click(state.sdata_box->button);
    EXPECT_EQ(sdata[7].value(), "9");
}

TEST_F(DataBoxTest, EnterOnAHighlightedLineLoadsItAsADoubleClickDoes) {
    DataBox& box = open_fdata();
    struct Case {
        const char* name;
        int line;
        const char* text;
    } cases[] = {
        {"the formula line", 5, "f(x,y) = sin(|x|^a  + |y|^b)"},
        {"a parameter line", 2, "c = 1"},
        {"the first line again", 0, "a = 3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform::inject::click_line(box.list, c.line);
        platform::inject::press_key(box.list, Key::enter);
        EXPECT_EQ(box.current, c.line);
        EXPECT_EQ(platform::control_text(box.edit), c.text);
    }
    platform::inject::click_line(box.list, 3);
    platform::inject::press_key(box.list, Key::enter);
    platform::inject::press_key(box.edit, Key::end);
    platform::inject::type_text(box.edit, "0");
    EXPECT_EQ(platform::list_line(box.list, 3), "d = 10") << "typing changes the line chosen";
}

// The list and the edit have sizing borders: dragging one widens or narrows that control only.
TEST_F(DataBoxTest, ListAndEditChangeWidthByTheirSizingBorders) {
    DataBox& box = open_fdata();
    for (platform::Control* control : {box.list, box.edit}) {
        SCOPED_TRACE(control == box.list ? "list" : "edit");
        const platform::Rect before = platform::control_rect(control);
        const platform::Rect button = platform::control_rect(box.button);
        platform::inject::drag_sizing_border(control, 120);
        platform::Rect widened = before;
        widened.right += 120;
        EXPECT_EQ(platform::control_rect(control), widened);
        platform::inject::drag_sizing_border(control, -60);
        widened.right -= 60;
        EXPECT_EQ(platform::control_rect(control), widened);
        platform::inject::drag_sizing_border(control, -1000);
        const platform::Rect narrowest = platform::control_rect(control);
        EXPECT_GT(narrowest.width(), 0) << "a control is never dragged away";
        EXPECT_LT(narrowest.width(), before.width());
        EXPECT_EQ(platform::control_rect(box.button), button);
    }
}

// The part of a screen picture inside `area`, row by row.
std::vector<platform::ColourRef> pixels_in(const platform::Image& image,
                                           const platform::Rect& area) {
    std::vector<platform::ColourRef> pixels;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            pixels.push_back(image.at(x, y));
        }
    }
    return pixels;
}

TEST_F(DataBoxTest, ALineWiderThanTheListIsCutAtItsEdgeAndShownWholeWhenWidened) {
    DataBox& box = open_fdata();
    platform::inject::resize(state.fdata_window, 1200, 300);
    std::string line = "a = 3";
    for (int i = 0; i < 50; ++i) {
        line += "+1";
    }
    retype(box, line);
    const platform::Rect list = platform::control_rect(box.list);
    // The first line, inside the list's frame and left of its grip.
    const int inset = 4;
    const int grip_room = 10;
    const platform::Rect first_line{list.left + inset, list.top + inset, list.right - grip_room,
                                    list.top + box.line_height - inset};
    const platform::Image narrow = platform::inject::shown_on_screen(state.fdata_window);
    platform::inject::drag_sizing_border(box.list, 900);
    const platform::Image wide = platform::inject::shown_on_screen(state.fdata_window);
    EXPECT_EQ(pixels_in(narrow, first_line), pixels_in(wide, first_line))
        << "the narrow list shows the line's start as the wide one does, with no ellipsis";
    const platform::Rect rest{first_line.right, first_line.top, list.right + 900 - inset * 4,
                              first_line.bottom};
    const auto rest_pixels = pixels_in(wide, rest);
    EXPECT_NE(std::ranges::adjacent_find(rest_pixels, std::not_equal_to<>()), rest_pixels.end())
        << "the widened list shows the line's end";
}

}  // namespace
}  // namespace toven::test_support
