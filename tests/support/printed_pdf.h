// The PDFs that the cups-pdf queue of the tests' own scheduler (support/cupsd) writes: where
// they land, and the wait for one, since cups-pdf writes its file some seconds after the job
// is queued.
#pragma once

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <thread>

#include "tests/support/tool_output.h"

namespace toven::test_support {

// TOVEN_PDF_DIR, which CTest sets to the scheduler's output folder in the test run's folder.
inline std::filesystem::path pdf_directory() {
    const char* folder = std::getenv("TOVEN_PDF_DIR");
    return folder != nullptr ? folder : "";
}

inline std::set<std::filesystem::path> pdfs_now() {
    std::set<std::filesystem::path> files;
    std::error_code error;
    for (const auto& file : std::filesystem::directory_iterator(pdf_directory(), error)) {
        files.insert(file.path());
    }
    return files;
}

// The first finished PDF of the queue's folder that `wanted` accepts, or none within 30 s.
inline std::optional<std::filesystem::path> wait_for_pdf(
    const std::function<bool(const std::filesystem::path&)>& wanted) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < deadline) {
        for (const std::filesystem::path& file : pdfs_now()) {
            if (file.extension() == ".pdf" && wanted(file) &&
                !pdf_info(file.string(), "Pages").empty()) {
                return file;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    return std::nullopt;
}

}  // namespace toven::test_support
