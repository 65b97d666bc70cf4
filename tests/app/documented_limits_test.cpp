// The limits that the manual page and the README state are the program's own constants: a
// constant that changes without its documents, or a number typed wrong, fails here.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "app/command/sweep.h"
#include "app/files/data_file.h"
#include "app/window/data_box.h"
#include "expr/expression.h"
#include "expr/parser.h"
#include "platform/picture_files.h"
#include "surface/plot_limits.h"
#include "surface/plot_work.h"
#include "surface/printable_solid.h"

namespace toven {
namespace {

// The document's text with every run of white space made one blank, so that a phrase may
// break across lines.
std::string document(const char* relative_path) {
    const char* source = std::getenv("TOVEN_SOURCE_DIR");
    EXPECT_NE(source, nullptr) << "TOVEN_SOURCE_DIR names the source tree";
    std::ifstream file(std::string(source != nullptr ? source : ".") + "/" + relative_path);
    EXPECT_TRUE(file) << relative_path;
    std::ostringstream words;
    std::string word;
    while (file >> word) {
        words << word << ' ';
    }
    return words.str();
}

// 300000000 as the manual writes it, and 300,000,000 as the README does.
std::string digits(long long value) {
    return std::to_string(value);
}
std::string with_commas(long long value) {
    const std::string text = digits(value);
    std::string grouped;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i > 0 && (text.size() - i) % 3 == 0) {
            grouped += ',';
        }
        grouped += text[i];
    }
    return grouped;
}

// Each phrase holds "#" where the constant stands.
struct Limit {
    const char* name;
    long long value;
    const char* manual_phrase;
    const char* readme_phrase;
};

std::string phrase(const char* text, const std::string& number) {
    std::string result = text;
    result.replace(result.find('#'), 1, number);
    return result;
}

TEST(DocumentedLimits, TheManualAndTheReadmeStateTheConstants) {
    constexpr long long mib = 1 << 20;
    const Limit limits[] = {
        {"max_plot_seconds", static_cast<long long>(max_plot_seconds),
         "hold the window for more than # s.", "for more than about # s."},
        {"max_evaluations", static_cast<long long>(max_evaluations), "and # evaluations of f(x,y)",
         "and # evaluations of f(x,y)"},
        {"max_columns", max_columns, "at most # page columns", "at most # page columns"},
        {"max_vector_page_bytes", static_cast<long long>(platform::max_vector_page_bytes) / mib,
         "more than # MB of SVG", "past # MB of SVG"},
        {"max_data_file_bytes", static_cast<long long>(max_data_file_bytes) / mib, "may hold # MiB",
         "may hold # MiB"},
        {"max_solid_cells", static_cast<long long>(max_solid_cells), "at most # cells",
         "at most # lattice cells"},
        {"max_sweep_frames", max_sweep_frames, "frames (2 to #)", "FRAMES (2 to #, i from 0)"},
        {"max_sweep_seconds", static_cast<long long>(max_sweep_seconds),
         "together would take more than # s.", "all the frames together # s"},
        {"max_data_file_lines", max_data_file_lines, "a data file at most # lines.",
         "more than # lines"},
        {"max_frames_per_second", max_frames_per_second, "a whole number from 1 to #;",
         "frames a second (1 to #, default 20)"},
        {"longest_edit_line", longest_edit_line, "holds # bytes with its name",
         "holds # bytes with its name"},
        {"longest_edit_line", longest_edit_line, "a line of a data window holds # bytes",
         "a data window's line holds # bytes"},
        {"max_formula_length", static_cast<long long>(max_formula_length),
         "up to # characters long", "up to # characters long"},
        {"max_nesting", max_nesting, "nest # levels deep", "nest # levels deep"},
    };
    const std::string manual = document("dist/toven.1.in");
    const std::string readme = document("README.md");
    for (const Limit& limit : limits) {
        SCOPED_TRACE(limit.name);
        const std::string in_manual = phrase(limit.manual_phrase, digits(limit.value));
        const std::string in_readme = phrase(limit.readme_phrase, with_commas(limit.value));
        EXPECT_NE(manual.find(in_manual), std::string::npos) << "manual: " << in_manual;
        EXPECT_NE(readme.find(in_readme), std::string::npos) << "README: " << in_readme;
    }
}

}  // namespace
}  // namespace toven
