#include "app/files/data_file.h"

#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>
#include <variant>

#include <sys/stat.h>

#include "app/data_items.h"
#include "app/files/grid_data.h"
#include "app/files/grid_file.h"
#include "app/files/whole_file.h"
#include "app/number_text.h"
#include "app/user_tables.h"
#include "expr/c_number.h"
#include "platform/picture_data.h"
#include "platform/safe_file.h"
#include "platform/utf8.h"
#include "platform/visible_text.h"

namespace toven {

namespace {

using platform::Refusal;

constexpr const char* header_comment = "# toven data: one NAME=VALUE item a line\n";

// Data files, pictures and the grid files named among them are read up to one size.
FileLimit data_file_limit() {
    return {max_data_file_bytes, "it is too large for a data file or a picture"};
}

std::string_view trimmed_name(const DataRecord& record) {
    const std::string_view name = record.name;
    const std::size_t last = name.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string_view() : name.substr(0, last + 1);
}

// The line that names the grid a picture or data file was drawn from; the items after it
// may change what the grid set.
constexpr std::string_view grid_item = "grid";

// Both tables and the grid as they were when it was made, for putting back after a refusal.
class TablesBefore {
  public:
    explicit TablesBefore(AppData& state)
        : state_(state),
          fdata_(state.fdata),
          sdata_(state.sdata),
          grid_(state.grid),
          grid_path_(state.grid_path) {}
    void put_back() const {
        state_.fdata = fdata_;
        state_.sdata = sdata_;
        state_.grid = grid_;
        state_.grid_path = grid_path_;
    }

  private:
    AppData& state_;
    DataTable fdata_;
    DataTable sdata_;
    std::optional<Grid> grid_;
    std::string grid_path_;
};

// A binary STL file: an 80-byte header, a count of triangles and 50 bytes for each.
bool is_binary_stl(std::string_view bytes) {
    constexpr std::size_t header = 84;
    if (bytes.size() < header || (bytes.size() - header) % 50 != 0) {
        return false;
    }
    std::uint32_t count = 0;
    for (int i = 3; i >= 0; --i) {
        count = count << 8 | static_cast<unsigned char>(bytes[80 + static_cast<std::size_t>(i)]);
    }
    return count == (bytes.size() - header) / 50;
}

// Why the bytes, which hold no picture with data, are no data file either; empty when they
// may be one.
std::string no_data_file(std::string_view bytes) {
    if (bytes.starts_with("GIF87a") || bytes.starts_with("GIF89a")) {
        return "it is a GIF picture, and GIF pictures carry no data: toven keeps its data in "
               "the PNG, SVG and PDF pictures it writes";
    }
    if (is_binary_stl(bytes)) {
        return "it is an STL solid, and STL files carry no data: toven keeps its data in the "
               "PNG, SVG and PDF pictures it writes";
    }
    if (bytes.find('\0') != std::string_view::npos) {
        return "it is neither a data file nor a picture that toven wrote";
    }
    return {};
}

// Why `value` cannot stand on a line of a data file, or empty.
std::string unwritable(std::string_view value) {
    for (std::size_t i = 0; i < value.size();) {
        const auto byte = static_cast<unsigned char>(value[i]);
        if (byte < 0x20 && byte != '\t') {
            return byte == '\n' || byte == '\r' ? "a line break" : "a control character";
        }
        const std::size_t length = platform::decode_utf8(value.substr(i)).length;
        if (length == 0) {
            return "bytes that are not UTF-8 text";
        }
        i += length;
    }
    return {};
}

// A record's value as a data file keeps it. A data window takes any typing, so a number item
// may hold text that the number reader refuses ("a=2" typed leaves it empty); the plot reads
// the number the C library makes of it, and that number is kept, so that the file reopens to
// the same page. None for a decimal item that the plot reads as no finite number.
std::optional<std::string> kept_value(const DataRecord& record) {
    const char* value = record_value(record);
    const ItemSpec* item = find_item_spec(trimmed_name(record));
    if (item != nullptr && item->kind == ItemKind::counting) {
        int whole = 0;
        if (read_whole(value, INT_MIN, INT_MAX, whole) == NumberFault::none) {
            return std::string(trim_blanks(value));
        }
        return std::to_string(c_atoi(value));
    }
    if (item == nullptr || item->kind != ItemKind::number) {
        return value;
    }
    double number = 0;
    if (read_decimal(value, number) == NumberFault::none) {
        return std::string(trim_blanks(value));
    }
    number = c_atof(value);
    if (!std::isfinite(number)) {
        return std::nullopt;
    }
    char shortest[32];
    const auto written = std::to_chars(shortest, shortest + sizeof shortest, number);
    return std::string(shortest, written.ptr);
}

// Why the argument `path`, which stat refused with `error`, is a file that cannot be read; empty
// when it is no file's name but an item. An argument names a file where it is a link, has no
// "=", or has a "/" before its "=" (no item's name holds one).
std::string unreadable_path(const std::string& path, int error) {
    struct stat link {};
    const bool is_link = ::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode);
    if (is_link && error == ENOENT) {
        return "it is a link to a file that does not exist";
    }
    const std::size_t equals = path.find('=');
    if (equals == std::string::npos && error == ENOENT) {
        return std::string(std::strerror(error)) + ", and an item is given as NAME=VALUE";
    }
    if (is_link || equals == std::string::npos || path.find('/') < equals) {
        return std::strerror(error);
    }
    return {};
}

}  // namespace

DataLines::DataLines(std::string_view text) : rest_(text) {
    if (rest_.starts_with("\xEF\xBB\xBF")) {
        rest_.remove_prefix(3);  // a byte order mark that some editors write
    }
}

bool DataLines::next(DataItem& item) {
    while (!rest_.empty()) {
        if (line_ == max_data_file_lines) {
            too_many_lines_ = true;
            return false;
        }
        const std::size_t end = rest_.find('\n');
        std::string_view line = rest_.substr(0, end);
        rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
        ++line_;
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        const std::size_t first = line.find_first_not_of(" \t");
        if (first != std::string_view::npos && line[first] != '#') {
            item = {line, line_};
            return true;
        }
    }
    return false;
}

namespace {

// The data file of the bytes read from `path`.
DataFile data_file_of(const std::string& path, std::string bytes) {
    DataFile file{path, {}, {}};
    const platform::PictureText picture = platform::picture_text(bytes);
    if (picture.kind != platform::PictureKind::none) {
        if (!picture.unreadable.empty()) {
            file.refusal = file_refusal(path, picture.unreadable);
            return file;
        }
        if (!picture.text) {
            file.refusal = file_refusal(
                path, "this " + std::string(platform::picture_kind_name(picture.kind)) +
                          " picture was not written by toven, so it holds no toven data");
            return file;
        }
        file.text = std::move(*picture.text);
        return file;
    }
    if (const std::string reason = no_data_file(bytes); !reason.empty()) {
        file.refusal = file_refusal(path, reason);
        return file;
    }
    file.text = std::move(bytes);
    return file;
}

// The grid of the file at `path`, set as a grid argument sets it; `bytes` are its content.
std::optional<Refusal> apply_grid_bytes(AppData& state, const std::string& path,
                                        std::string_view bytes) {
    auto grid = read_grid(path, bytes);
    if (auto* refusal = std::get_if<Refusal>(&grid)) {
        return std::move(*refusal);
    }
    return apply_grid(state, std::move(std::get<GridFile>(grid)));
}

// The grid line of a data file: its file is read again, and one that is gone says so.
std::optional<Refusal> apply_grid_line(AppData& state, std::string_view path) {
    const std::string name(path);
    struct stat info {};
    if (::stat(name.c_str(), &info) != 0 && errno == ENOENT) {
        return Refusal{"The grid file \"" + name +
                       "\" that these data were drawn from is gone; move it back or open "
                       "another grid."};
    }
    std::string bytes;
    if (auto refusal = read_whole_file(name, data_file_limit(), bytes)) {
        return refusal;
    }
    return apply_grid_bytes(state, name, bytes);
}

bool sets_formula(std::string_view name_equals_value) {
    const std::size_t equals = name_equals_value.find('=');
    const ItemSpec* item = equals == std::string_view::npos
                               ? nullptr
                               : find_item_spec(trim_blanks(name_equals_value.substr(0, equals)));
    return item != nullptr && item->kind == ItemKind::formula;
}

}  // namespace

DataFile read_data_file(const std::string& path) {
    std::string bytes;
    if (auto refusal = read_whole_file(path, data_file_limit(), bytes)) {
        return {path, {}, std::move(refusal)};
    }
    return data_file_of(path, std::move(bytes));
}

std::optional<Refusal> apply_data_file(AppData& state, const DataFile& file) {
    if (file.refusal) {
        return file.refusal;
    }
    const TablesBefore before(state);
    DataLines lines(file.text);
    DataItem item;
    bool names_grid = false;
    bool names_formula = false;
    while (lines.next(item)) {
        const std::string_view text = item.text;
        const std::size_t equals = text.find('=');
        const bool grid_line =
            equals != std::string_view::npos && trim_blanks(text.substr(0, equals)) == grid_item;
        names_grid = names_grid || grid_line;
        names_formula = names_formula || sets_formula(text);
        if (auto refusal = grid_line ? apply_grid_line(state, text.substr(equals + 1))
                                     : apply_assignment(state, text)) {
            before.put_back();
            return Refusal{refusal->message + " This is line " + std::to_string(item.line) +
                           " of " + platform::quoted_path(file.path) + "."};
        }
    }
    if (lines.too_many_lines()) {
        before.put_back();
        return Refusal{"The file \"" + file.path + "\" has more than " +
                       std::to_string(max_data_file_lines) +
                       " lines, and a data file holds one item a line."};
    }
    // A file drawn from a grid names it before its formula line, which then stays unused; the
    // formula of any other file takes the place of a grid given before it, as an item does.
    if (names_formula && !names_grid) {
        state.grid.reset();
        state.grid_path.clear();
    }
    return std::nullopt;
}

std::optional<Refusal> apply_assignment(AppData& state, std::string_view name_equals_value) {
    const std::size_t equals = name_equals_value.find('=');
    if (equals == std::string_view::npos) {
        return Refusal{"Expected NAME=VALUE, not " + platform::quoted(name_equals_value) + "."};
    }
    return apply_item(state, name_equals_value.substr(0, equals),
                      name_equals_value.substr(equals + 1));
}

std::optional<Refusal> apply_argument(AppData& state, std::string_view argument) {
    const std::string path(argument);
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        if (const std::string reason = unreadable_path(path, errno); !reason.empty()) {
            return file_refusal(path, reason);
        }
        auto refusal = apply_assignment(state, argument);
        if (!refusal && sets_formula(argument)) {
            state.grid.reset();  // the formula given takes the grid's place
            state.grid_path.clear();
        }
        return refusal;
    }
    std::string bytes;
    if (auto refusal = read_whole_file(path, data_file_limit(), bytes)) {
        return refusal;
    }
    if (!is_grid_content(path, bytes)) {
        return apply_data_file(state, data_file_of(path, std::move(bytes)));
    }
    return apply_grid_bytes(state, path, bytes);
}

std::optional<Refusal> replace_tables(AppData& state, const DataFile& file) {
    if (file.refusal) {
        return file.refusal;
    }
    // A file of no items would put every item back to its default, which an empty file
    // opened by mistake should not do.
    DataItem first;
    if (!DataLines(file.text).next(first)) {
        return Refusal{platform::quoted_path(file.path) + " holds no data items."};
    }
    const TablesBefore before(state);
    load_fdata_defaults(state.fdata);
    load_sdata_defaults(state.sdata);
    state.grid.reset();
    state.grid_path.clear();
    auto refusal = apply_data_file(state, file);
    if (refusal) {
        before.put_back();
    }
    return refusal;
}

std::optional<Refusal> open_file(AppData& state, const std::string& path) {
    std::string bytes;
    if (auto refusal = read_whole_file(path, data_file_limit(), bytes)) {
        return refusal;
    }
    if (is_grid_content(path, bytes)) {
        return apply_grid_bytes(state, path, bytes);
    }
    return replace_tables(state, data_file_of(path, std::move(bytes)));
}

std::string data_text(const AppData& state) {
    std::string text = header_comment;
    if (state.grid) {
        text += std::string(grid_item) + '=' + state.grid_path + '\n';
    }
    for (const DataTable* table : {&state.fdata, &state.sdata}) {
        for (int i = 1; i < table->size(); ++i) {
            text += trimmed_name((*table)[i]);
            text += '=';
            text += kept_value((*table)[i]).value_or(record_value((*table)[i]));
            text += '\n';
        }
    }
    return text;
}

std::optional<Refusal> data_text_refusal(const AppData& state) {
    if (state.grid && !unwritable(state.grid_path).empty()) {
        return Refusal{"The grid file's name holds " + unwritable(state.grid_path) +
                       ", which a data file cannot keep."};
    }
    for (const DataTable* table : {&state.fdata, &state.sdata}) {
        for (int i = 1; i < table->size(); ++i) {
            const std::string reason = unwritable(record_value((*table)[i]));
            if (!reason.empty()) {
                return Refusal{"The value of " + std::string(trimmed_name((*table)[i])) +
                               " holds " + reason + ", which a data file cannot keep."};
            }
            if (!kept_value((*table)[i])) {
                return Refusal{"The value of " + std::string(trimmed_name((*table)[i])) + ", \"" +
                               record_value((*table)[i]) +
                               "\", is no finite number, which a data file cannot keep."};
            }
        }
    }
    return std::nullopt;
}

std::optional<Refusal> write_data_file(const AppData& state, const std::string& path) {
    const std::string text = data_text(state);
    platform::SafeFile file(path);
    if (auto refusal = file.open()) {
        return refusal;
    }
    file.write(text.data(), text.size());
    if (auto failure = file.failure()) {
        return failure;
    }
    return file.commit();
}

}  // namespace toven
