// Files that tests write and read back. Every test that writes a file writes it in a folder of
// its own, so that test runs sharing the machine never meet at a fixed name.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace toven::test_support {

// A new, empty folder under the real path of the test temporary directory, named from
// `prefix` and made unique; it is removed, with everything in it, when the TempFolder goes.
// path() is empty when the folder could not be made.
class TempFolder {
  public:
    explicit TempFolder(std::string_view prefix = "toven");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The path of `name` inside the folder.
    std::string file(std::string_view name) const;

  private:
    std::filesystem::path path_;
};

// A file's bytes as they are; empty when it cannot be read.
std::string read_file(const std::filesystem::path& path);

// Width and height from a PNG's header chunk; none when `bytes` do not start as a PNG does.
std::optional<std::pair<int, int>> png_size(const std::string& bytes);

}  // namespace toven::test_support
