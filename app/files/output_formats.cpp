#include "app/files/output_formats.h"

#include <algorithm>
#include <cctype>

namespace toven {

std::string file_extension(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || path.find('/', dot) != std::string_view::npos) {
        return {};
    }
    std::string extension(path.substr(dot + 1));
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

const OutputFormat* output_format(std::string_view path) {
    const std::string extension = file_extension(path);
    for (const OutputFormat& format : output_formats) {
        if (format.extension == extension) {
            return &format;
        }
    }
    return nullptr;
}

bool written_by(std::string_view path, Writer writer) {
    const OutputFormat* format = output_format(path);
    return format != nullptr && format->writer == writer;
}

std::string extension_list(Writer writer) {
    std::vector<std::string_view> extensions;
    for (const OutputFormat& format : output_formats) {
        if (format.writer == writer) {
            extensions.push_back(format.extension);
        }
    }
    std::string list;
    for (std::size_t i = 0; i < extensions.size(); ++i) {
        if (i > 0) {
            list += i + 1 == extensions.size() ? " or " : ", ";
        }
        list += ".";
        list += extensions[i];
    }
    return list;
}

std::vector<platform::FileType> file_types(Writer writer) {
    std::vector<platform::FileType> types;
    for (const OutputFormat& format : output_formats) {
        if (format.writer == writer) {
            types.push_back({std::string(format.description), std::string(format.extension)});
        }
    }
    return types;
}

// The data file's own extension comes first.
std::string data_carrying_extensions() {
    std::string list;
    for (const bool data_file : {true, false}) {
        for (const OutputFormat& format : output_formats) {
            if (format.carries_data && (format.writer == Writer::data) == data_file) {
                list += list.empty() ? "" : " ";
                list += format.extension;
            }
        }
    }
    return list;
}

}  // namespace toven
