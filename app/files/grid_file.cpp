#include "app/files/grid_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/files/grid_text.h"
#include "app/files/npy_array.h"
#include "platform/visible_text.h"

namespace toven {

namespace {

using platform::Refusal;

Refusal file_refusal(const std::string& path, const std::string& reason) {
    return Refusal{"Cannot read " + platform::quoted_path(path) + ": " + reason + "."};
}

// The whole file in one string, sized from the start; or the refusal of a file that cannot
// be read, is no ordinary file, or is too large. Opening does not wait for a FIFO's writer.
std::optional<Refusal> read_whole(const std::string& path, std::string& bytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return file_refusal(path, std::strerror(errno));
    }
    struct stat info {};
    std::optional<Refusal> refusal;
    if (::fstat(fd, &info) != 0) {
        refusal = file_refusal(path, std::strerror(errno));
    } else if (S_ISDIR(info.st_mode)) {
        refusal = file_refusal(path, "it is a directory");
    } else if (!S_ISREG(info.st_mode)) {
        refusal = file_refusal(path, "it is a device, a FIFO or another special file");
    } else if (static_cast<std::uintmax_t>(info.st_size) > max_grid_file_size) {
        refusal = file_refusal(path, "it is larger than a grid file may be (" +
                                         std::to_string(max_grid_file_size >> 20) + " MB)");
    }
    if (!refusal) {
        bytes.resize(static_cast<std::size_t>(info.st_size));
    }
    std::size_t done = 0;
    while (!refusal && done < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            refusal = file_refusal(path, std::strerror(errno));
        } else if (got == 0) {
            bytes.resize(done);  // the file shrank while it was read
        } else {
            done += static_cast<std::size_t>(got);
        }
    }
    ::close(fd);
    return refusal;
}

std::string lower_extension(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(), [](unsigned char c) {
        return static_cast<char>(c | (c >= 'A' && c <= 'Z' ? 0x20 : 0));
    });
    return extension;
}

// The grid of the bytes, whichever format they are in, or the fault.
std::optional<GridFault> read_content(std::string_view bytes, const std::string& extension,
                                      GridFile& file) {
    if (is_npy(bytes) || extension == ".npy") {
        file.format = GridFormat::npy;
        return read_npy(bytes, file.grid);
    }
    if (bytes.find('\0') != std::string_view::npos) {
        return GridFault{0, "it is neither text nor a NumPy .npy file"};
    }
    return read_grid_text(bytes, extension == ".xyz", file);
}

}  // namespace

std::variant<GridFile, Refusal> read_grid(const std::string& path, std::string_view bytes) {
    GridFile file{path, GridFormat::matrix, {}};
    std::optional<GridFault> fault = read_content(bytes, lower_extension(path), file);
    if (!fault) {
        if (auto shape = grid_fault(file.grid)) {
            fault = GridFault{0, *shape};
        } else if (!file.grid.z_range()) {
            fault = GridFault{0, "every value of the grid is missing"};
        }
    }
    if (fault) {
        const std::string place = fault->line > 0 ? ", line " + std::to_string(fault->line) : "";
        return Refusal{"Cannot read " + platform::quoted_path(path) + place + ": " + fault->message +
                       "."};
    }
    return file;
}

std::variant<GridFile, Refusal> read_grid_file(const std::string& path) {
    std::string bytes;
    if (auto refusal = read_whole(path, bytes)) {
        return *refusal;
    }
    return read_grid(path, bytes);
}

}  // namespace toven
