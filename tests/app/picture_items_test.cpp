// Data files and pictures that remember their data, as a script uses them: items from files
// among the command line's, and a picture that draws its page again.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "tests/support/program_run.h"
#include "tests/support/test_files.h"

namespace toven {
namespace {

using test_support::ProgramRun;
using test_support::read_file;
using test_support::run_toven;

class PictureItems : public testing::Test {
  protected:
    std::string write(const std::string& name, const std::string& text) const {
        const std::string path = folder.file(name);
        std::ofstream(path) << text;
        return path;
    }

    // The page of `arguments` drawn into the folder's `name`; its bytes, empty on failure.
    std::string render(const std::string& name, std::vector<std::string> arguments) const {
        arguments.insert(arguments.begin(), {"--render", folder.file(name)});
        const ProgramRun run = run_toven(arguments);
        EXPECT_EQ(run.status, 0) << run.err;
        return read_file(folder.file(name));
    }

    const std::vector<std::string> items = {"f(x,y)=x^2-y^2", "z1=-1", "tilt=30",
                                            "title=saddle <1> & #2"};
    test_support::TempFolder folder{"picture-items"};
};

TEST_F(PictureItems, APictureOfEachKindDrawsTheSamePageAgain) {
    const std::string page = render("direct.png", items);
    ASSERT_FALSE(page.empty());
    for (const std::string kind : {"png", "svg", "pdf"}) {
        SCOPED_TRACE(kind);
        render("kept." + kind, items);
        EXPECT_EQ(render("again-" + kind + ".png", {folder.file("kept." + kind)}), page);
    }
    EXPECT_NE(read_file(folder.file("direct.png")).find(std::string("iTXttoven\0", 10)),
              std::string::npos);
    if (!test_support::command_output("xmllint --version 2>&1").empty()) {
        EXPECT_EQ(test_support::command_output("xmllint --noout '" + folder.file("kept.svg") +
                                               "' 2>&1; echo $?"),
                  "0\n");
    }
}

TEST_F(PictureItems, TheSameItemsGiveTheSameBytes) {
    for (const std::string kind : {"png", "svg"}) {
        SCOPED_TRACE(kind);
        const std::string first = render("first." + kind, items);
        EXPECT_FALSE(first.empty());
        EXPECT_EQ(render("second." + kind, items), first);
    }
}

TEST_F(PictureItems, LaterItemsWin) {
    const std::string file = write("a.toven", "# two\na=2\nf(x,y)=x+100\n");
    const struct {
        std::vector<std::string> items;
        const char* printed;
    } cases[] = {
        {{file}, "2\n"},
        {{file, "a=5"}, "5\n"},
        {{"a=5", file}, "2\n"},
        {{"a=5", file, "a=7", file}, "2\n"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> arguments = {"--eval", "a*x", "1", "0"};
        arguments.insert(arguments.end(), c.items.begin(), c.items.end());
        const ProgramRun run = run_toven(arguments);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, c.printed);
    }
}

}  // namespace
}  // namespace toven
