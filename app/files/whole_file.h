// Reading a file whole, for the readers of data files, pictures and grids: one way to refuse a
// file that cannot be read, is no ordinary file or is too large, in the words of the reader.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "platform/refusal.h"

namespace toven {

// "Cannot read "PATH": REASON.", the refusal of every file reader.
platform::Refusal file_refusal(const std::string& path, const std::string& reason);

// The most bytes a reader takes, and the reason its refusal of a larger file gives.
struct FileLimit {
    std::size_t bytes = 0;
    std::string too_large;  // e.g. "it is too large for a data file"
};

// The whole file at `path` into `bytes`; or the refusal of a file that cannot be read, is a
// directory or a special file, or holds more than the limit, by its size or by what reading
// finds (a file that grows meanwhile, or one whose size the system does not tell). Opening
// does not wait for a FIFO's writer, which may never come. `bytes` is empty after a refusal.
std::optional<platform::Refusal> read_whole_file(const std::string& path, const FileLimit& limit,
                                                 std::string& bytes);

}  // namespace toven
