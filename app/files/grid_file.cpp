#include "app/files/grid_file.h"

#include <algorithm>
#include <filesystem>
#include <utility>

#include "app/files/grid_text.h"
#include "app/files/npy_array.h"
#include "app/files/whole_file.h"
#include "platform/visible_text.h"

namespace toven {

namespace {

using platform::Refusal;

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
        return Refusal{"Cannot read " + platform::quoted_path(path) + place + ": " +
                       fault->message + "."};
    }
    return file;
}

std::variant<GridFile, Refusal> read_grid_file(const std::string& path) {
    std::string bytes;
    const FileLimit limit{max_grid_file_size, "it is larger than a grid file may be (" +
                                                  std::to_string(max_grid_file_size >> 20) +
                                                  " MB)"};
    if (auto refusal = read_whole_file(path, limit, bytes)) {
        return *refusal;
    }
    return read_grid(path, bytes);
}

}  // namespace toven
