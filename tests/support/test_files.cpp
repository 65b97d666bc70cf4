#include "tests/support/test_files.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>
#include <iterator>

namespace toven::test_support {

namespace fs = std::filesystem;

TempFolder::TempFolder(std::string_view prefix) {
    // The test temporary directory is named through a link in the build folder; its real
    // path is the one that a child running as another user can pass through.
    std::error_code unresolved;
    const fs::path directory = fs::canonical(::testing::TempDir(), unresolved);
    std::string pattern = (unresolved ? fs::path(::testing::TempDir()) : directory) /
                          (std::string(prefix) + "-XXXXXX");
    if (::mkdtemp(pattern.data()) != nullptr) {
        path_ = pattern;
    }
}

TempFolder::~TempFolder() {
    if (path_.empty()) {
        return;
    }
    // A test may have locked the folder to see a write refused.
    std::error_code ignored;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path_, ignored);
}

std::string TempFolder::file(std::string_view name) const {
    return (path_ / name).string();
}

std::string read_file(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::optional<std::pair<int, int>> png_size(const std::string& bytes) {
    if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 ||
        bytes.compare(12, 4, "IHDR") != 0) {
        return std::nullopt;
    }
    auto big_endian = [&bytes](std::size_t at) {
        int value = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
        }
        return value;
    };
    return std::make_pair(big_endian(16), big_endian(20));
}

}  // namespace toven::test_support
