// Which file a name asks for: every extension check of the program answers from the table of
// output formats, so these rows are what --render, a sweep and the dialogs take a name for.
#include "app/files/output_formats.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "app/files/page_picture.h"
#include "app/window/app_state.h"
#include "tests/support/test_files.h"

namespace toven {
namespace {

TEST(OutputFormats, ANameAsksForTheFormatOfItsExtension) {
    struct Case {
        const char* path;
        std::optional<Writer> writer;
        bool vector;
        bool carries_data;
    } cases[] = {
        {"plot.png", Writer::page, false, true},
        {"PLOT.PDF", Writer::page, true, true},  // any case
        {"plot.Svg", Writer::page, true, true},
        {"frames.gif", Writer::animation, false, false},
        {"solid.stl", Writer::solid, false, false},
        {"saddle.toven", Writer::data, false, true},
        {"figure.tex", Writer::page, true, false},     // a figure carries no data
        {"plot.png.bmp", std::nullopt, false, false},  // the last extension counts
        {"plot", std::nullopt, false, false},
        {"pictures.png/plot", std::nullopt, false, false},  // a folder's dot is no extension
        {"plot.", std::nullopt, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const OutputFormat* format = output_format(c.path);
        ASSERT_EQ(format != nullptr, c.writer.has_value());
        if (format != nullptr) {
            EXPECT_EQ(format->writer, *c.writer);
            EXPECT_EQ(format->vector, c.vector);
            EXPECT_EQ(format->carries_data, c.carries_data);
            EXPECT_EQ(format->extension, file_extension(c.path));
        }
    }
}

// The lists that messages and dialogs show, PNG first: a name typed without an extension
// gets the first page type's.
TEST(OutputFormats, ListsForPeopleAndDialogs) {
    EXPECT_EQ(extension_list(Writer::page), ".png, .pdf, .svg or .tex");
    EXPECT_EQ(extension_list(Writer::animation), ".gif");
    EXPECT_EQ(data_carrying_extensions(), "toven png pdf svg");
    ASSERT_FALSE(file_types(Writer::page).empty());
    EXPECT_EQ(file_types(Writer::page).front().description, "PNG image");
    EXPECT_EQ(file_types(Writer::page).front().extension, "png");
}

// A page saved under a name that is no picture's writes nothing, and says which names are.
TEST(OutputFormats, APageUnderAnotherNameIsRefused) {
    const AppState state;
    const test_support::TempFolder folder{"output-formats"};
    for (const char* name : {"plot.bmp", "plot.gif", "plot"}) {
        SCOPED_TRACE(name);
        SurfaceFunction function(state.fdata);
        const SavedPage saved = save_page(state, PagePicture{folder.file(name)}, function, nullptr);
        EXPECT_EQ(saved.status, SavedPage::Status::failed);
        EXPECT_NE(saved.message.find("must end in .png, .pdf, .svg or .tex."), std::string::npos)
            << saved.message;
        EXPECT_FALSE(std::filesystem::exists(folder.file(name)));
    }
}

}  // namespace
}  // namespace toven
