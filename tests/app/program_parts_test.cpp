// The toven command loads only what a run needs: a formula is evaluated without Qt, a picture
// is painted without widgets, printing or other platform plugins, and printing (loaded only
// when the person prints) fits each part that loads it.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "platform/program_module.h"
#include "tests/support/program_run.h"
#include "tests/support/test_files.h"

namespace toven {
namespace {

using test_support::TempFolder;

std::string toven_binary() {
    const char* binary = std::getenv("TOVEN_BINARY");
    return binary != nullptr ? binary : "toven";
}

// The shared objects a run of `binary` with `arguments` loaded, as the dynamic loader names
// them, one a line.
std::vector<std::string> loaded_objects(const std::string& binary, const std::string& arguments) {
    const std::string said = test_support::command_output("LD_DEBUG=libs '" + binary + "' " +
                                                          arguments + " 2>&1 >/dev/null");
    std::vector<std::string> objects;
    std::istringstream lines(said);
    const std::string marker = "calling init: ";
    for (std::string line; std::getline(lines, line);) {
        if (const std::size_t at = line.find(marker); at != std::string::npos) {
            objects.push_back(line.substr(at + marker.size()));
        }
    }
    return objects;
}

TEST(ProgramParts, EachRunLoadsOnlyWhatItsJobNeeds) {
    TempFolder folder("toven-parts");
    struct Case {
        const char* name;
        std::string arguments;
        std::vector<const char*> needed;     // parts of the names that must be loaded
        std::vector<const char*> forbidden;  // parts of the names that must not
    } cases[] = {
        {"a formula", "--eval 'x*y' 1 2", {}, {"libQt6", "libcups", "toven-"}},
        {"a PNG page",
         "--render " + folder.file("page.png"),
         {"toven-picture.so", "/platforms/libqoffscreen.so"},
         {"libQt6Widgets", "libQt6PrintSupport", "libcups", "toven-window", "toven-printing",
          "/imageformats/", "libqxcb", "libqwayland", "libqeglfs", "libqvnc", "libqminimal"}},
        {"an SVG page",
         "--render " + folder.file("page.svg"),
         {"libQt6Svg"},
         {"libQt6Widgets", "libQt6PrintSupport", "libcups", "/imageformats/"}},
        {"a PDF page",
         "--render " + folder.file("page.pdf"),
         {"toven-picture.so"},
         {"libQt6Widgets", "libQt6PrintSupport", "libcups", "/imageformats/"}},
    };
    for (const Case& c : cases) {
        const std::vector<std::string> objects = loaded_objects(toven_binary(), c.arguments);
        ASSERT_FALSE(objects.empty()) << c.name << ": no loader report";
        const auto loaded = [&](const char* part) {
            for (const std::string& object : objects) {
                if (object.find(part) != std::string::npos) {
                    return true;
                }
            }
            return false;
        };
        for (const char* part : c.needed) {
            EXPECT_TRUE(loaded(part)) << c.name << " did not load " << part;
        }
        for (const char* part : c.forbidden) {
            EXPECT_FALSE(loaded(part)) << c.name << " loaded " << part;
        }
    }
}

// Loads the part, then printing, which has no copy of the drawing layer: every name it uses
// must be found in the part. Ends the process: status 0 when printing loads.
[[noreturn]] void load_printing_into(const std::string& folder, const char* part) {
    const std::string path = folder + "/toven-" + part + ".so";
    const std::string printing = folder + "/toven-printing.so";
    if (dlopen(path.c_str(), RTLD_LAZY | RTLD_GLOBAL) == nullptr ||
        dlopen(printing.c_str(), RTLD_NOW) == nullptr) {
        std::fprintf(stderr, "%s\n", dlerror());
        std::_Exit(1);
    }
    std::_Exit(0);
}

TEST(ProgramParts, PrintingFitsEveryPartThatLoadsIt) {
    // Each part in a process of its own: printing binds to the first part loaded.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string folder = platform::module_folder_of(toven_binary());
    for (const char* part : {"picture", "window"}) {
        EXPECT_EXIT(load_printing_into(folder, part), testing::ExitedWithCode(0), "") << part;
    }
}

// A program whose modules are missing still evaluates, and says what is wrong for the rest.
TEST(ProgramParts, MissingModulesAreNamed) {
    TempFolder folder("toven-lone");
    const std::filesystem::path lone = folder.path() / "toven";
    std::filesystem::copy_file(toven_binary(), lone);
    struct Case {
        const char* arguments;
        const char* said;
    } cases[] = {
        {"--eval 'x*y' 2 3", "6\nstatus 0\n"},
        {"--render x.png", "toven: the installation is incomplete: "},
        {"", "toven: the installation is incomplete: "},
    };
    for (const Case& c : cases) {
        const std::string said =
            test_support::command_output("cd '" + folder.path().string() + "' && ./toven " +
                                         c.arguments + " 2>&1; echo \"status $?\"");
        EXPECT_EQ(said.rfind(c.said, 0), 0u) << c.arguments << ": " << said;
    }
}

}  // namespace
}  // namespace toven
