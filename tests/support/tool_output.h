// Running a command-line tool (poppler's pdfinfo and pdftotext) and reading what it says.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

namespace toven::platform::testing {

// The command's standard output, bytes as they come; empty when it cannot run.
inline std::string run(const std::string& command) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    std::string output;
    char buffer[4096];
    std::size_t read = 0;
    while (pipe && (read = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0) {
        output.append(buffer, read);
    }
    return output;
}

// The value of a "Name:   value" line of pdfinfo's report, blanks trimmed; empty if absent.
inline std::string pdf_info(const std::string& pdf_path, const std::string& name) {
    const std::string report = run("pdfinfo '" + pdf_path + "' 2>/dev/null");
    const std::size_t line = report.find("\n" + name + ":");
    const std::size_t at = line == std::string::npos ? report.rfind(name + ":", 0) : line + 1;
    if (at == std::string::npos) {
        return {};
    }
    const std::size_t start = report.find_first_not_of(' ', at + name.size() + 1);
    const std::size_t end = report.find('\n', at);
    return start < end ? report.substr(start, end - start) : std::string();
}

}  // namespace toven::platform::testing

namespace toven::platform::testing {

// The dark pixels of a PDF's first page rendered in grey at `dpi` (poppler's pdftoppm);
// -1 when it cannot be rendered.
inline int dark_pixels(const std::string& pdf_path, int dpi) {
    const std::string pgm = run("pdftoppm -r " + std::to_string(dpi) + " -gray -f 1 -l 1 '" +
                                pdf_path + "' 2>/dev/null");
    // "P5" width height maxval, each after white space, then one byte a pixel.
    std::size_t at = 0;
    int fields[3] = {0, 0, 0};
    if (pgm.compare(0, 2, "P5") != 0) {
        return -1;
    }
    at = 2;
    for (int& field : fields) {
        at = pgm.find_first_of("0123456789", at);
        if (at == std::string::npos) {
            return -1;
        }
        std::size_t end = pgm.find_first_not_of("0123456789", at);
        field = std::stoi(pgm.substr(at, end - at));
        at = end;
    }
    ++at;
    if (pgm.size() < at + static_cast<std::size_t>(fields[0]) * fields[1]) {
        return -1;
    }
    int dark = 0;
    for (std::size_t i = at; i < pgm.size(); ++i) {
        dark += static_cast<unsigned char>(pgm[i]) < 128 ? 1 : 0;
    }
    return dark;
}

}  // namespace toven::platform::testing
