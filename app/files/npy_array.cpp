#include "app/files/npy_array.h"
#include "platform/visible_text.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace toven {

namespace {

constexpr std::string_view magic = "\x93NUMPY";

// What the header says of the array.
struct ArrayHeader {
    std::string descr;
    bool fortran_order = false;
    std::vector<std::uint64_t> shape;
};

// Reads the header dictionary; every method returns false at the first fault, whose words
// it leaves in `fault`.
class HeaderParser {
  public:
    explicit HeaderParser(std::string_view text) : text_(text) {}

    // header = "{" { key ":" value "," } [ key ":" value ] "}"
    bool parse(ArrayHeader& header) {
        bool descr = false;
        bool order = false;
        bool shape = false;
        if (!expect('{')) {
            return false;
        }
        while (!next_is('}')) {
            std::string key;
            if (!string(key) || !expect(':')) {
                return false;
            }
            bool known = true;
            if (key == "descr") {
                descr = string(header.descr);
            } else if (key == "fortran_order") {
                order = boolean(header.fortran_order);
            } else if (key == "shape") {
                shape = tuple(header.shape);
            } else {
                known = false;
                fault = "it names " + platform::quoted(key);
            }
            if (!known || !fault.empty() || (!next_is('}') && !expect(','))) {
                return false;
            }
        }
        if (!descr || !order || !shape) {
            fault = "it lacks 'descr', 'fortran_order' or 'shape'";
            return false;
        }
        return true;
    }

    std::string fault;

  private:
    void skip_blanks() {
        while (position_ < text_.size() &&
               (text_[position_] == ' ' || text_[position_] == '\n' || text_[position_] == '\t')) {
            ++position_;
        }
    }
    bool next_is(char wanted) {
        skip_blanks();
        return position_ < text_.size() && text_[position_] == wanted;
    }
    bool expect(char wanted) {
        if (!next_is(wanted)) {
            fault = std::string("'") + wanted + "' is missing";
            return false;
        }
        ++position_;
        return true;
    }
    // string = "'" characters "'" | '"' characters '"'
    bool string(std::string& value) {
        skip_blanks();
        const char quote = position_ < text_.size() ? text_[position_] : '\0';
        const std::size_t close =
            quote == '\'' || quote == '"' ? text_.find(quote, position_ + 1) : std::string::npos;
        if (close == std::string_view::npos) {
            fault = "a quoted name is missing";
            return false;
        }
        value = std::string(text_.substr(position_ + 1, close - position_ - 1));
        position_ = close + 1;
        return true;
    }
    // boolean = "True" | "False"
    bool boolean(bool& value) {
        skip_blanks();
        for (const bool candidate : {true, false}) {
            const std::string_view word = candidate ? "True" : "False";
            if (text_.substr(position_).starts_with(word)) {
                position_ += word.size();
                value = candidate;
                return true;
            }
        }
        fault = "'fortran_order' is neither True nor False";
        return false;
    }
    // tuple = "(" [ integer { "," integer } [ "," ] ] ")"
    bool tuple(std::vector<std::uint64_t>& values) {
        if (!expect('(')) {
            return false;
        }
        while (!next_is(')')) {
            std::uint64_t value = 0;
            const std::size_t start = position_;
            while (position_ < text_.size() && text_[position_] >= '0' && text_[position_] <= '9') {
                if (value > (std::uint64_t{1} << 48)) {
                    fault = "a size in 'shape' is too large";
                    return false;
                }
                value = value * 10 + static_cast<std::uint64_t>(text_[position_++] - '0');
            }
            if (position_ == start) {
                fault = "'shape' holds something else than sizes";
                return false;
            }
            if (position_ < text_.size() && text_[position_] == 'L') {
                ++position_;  // the long integers of old writers
            }
            values.push_back(value);
            if (!next_is(')') && !expect(',')) {
                return false;
            }
        }
        ++position_;
        return true;
    }

    std::string_view text_;
    std::size_t position_ = 0;
};

std::string format(const char* pattern, auto... values) {
    char text[240];
    std::snprintf(text, sizeof text, pattern, values...);
    return text;
}

// The header that follows the magic and the version, and where the values start.
std::optional<GridFault> header_text(std::string_view bytes, std::string_view& header,
                                     std::size_t& data_start) {
    if (bytes.size() < 10) {
        return GridFault{0, "it is cut short before the end of its NumPy header"};
    }
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(bytes[i]); };
    const int major = byte(6);
    std::size_t length = 0;
    std::size_t start = 0;
    if (major == 1) {
        length = byte(8) | std::size_t{byte(9)} << 8;
        start = 10;
    } else if ((major == 2 || major == 3) && bytes.size() >= 12) {
        length = byte(8) | std::size_t{byte(9)} << 8 | std::size_t{byte(10)} << 16 |
                 std::size_t{byte(11)} << 24;
        start = 12;
    } else {
        return GridFault{
            0, format("its NumPy format version %d.%d is not one toven reads", major, byte(7))};
    }
    if (bytes.size() - start < length) {
        return GridFault{0, "it is cut short before the end of its NumPy header"};
    }
    header = bytes.substr(start, length);
    data_start = start + length;
    return std::nullopt;
}

struct ValueType {
    std::size_t size = 0;  // 8 for float64, 4 for float32
    bool swapped = false;  // stored in the other byte order than this machine's
};

std::optional<ValueType> value_type(const std::string& descr) {
    if (descr.size() != 3 || descr[1] != 'f' || (descr[2] != '8' && descr[2] != '4')) {
        return std::nullopt;
    }
    const bool little =
        descr[0] == '<' || (descr[0] == '=' && std::endian::native == std::endian::little);
    const bool big =
        descr[0] == '>' || (descr[0] == '=' && std::endian::native == std::endian::big);
    if (!little && !big) {
        return std::nullopt;
    }
    return ValueType{descr[2] == '8' ? std::size_t{8} : std::size_t{4},
                     little != (std::endian::native == std::endian::little)};
}

double value_at(const char* at, ValueType type) {
    if (type.size == 8) {
        std::uint64_t bits = 0;
        std::memcpy(&bits, at, 8);
        return std::bit_cast<double>(type.swapped ? __builtin_bswap64(bits) : bits);
    }
    std::uint32_t bits = 0;
    std::memcpy(&bits, at, 4);
    return std::bit_cast<float>(type.swapped ? __builtin_bswap32(bits) : bits);
}

// The values, stored in file order, into z row by row.
void load_values(const char* data, ValueType type, bool fortran_order, std::size_t rows,
                 std::size_t columns, std::vector<double>& z) {
    z.resize(rows * columns);
    if (z.empty()) {
        return;
    }
    if (type.size == 8 && !type.swapped && !fortran_order) {
        std::memcpy(z.data(), data, z.size() * 8);
        return;
    }
    const std::size_t outer = fortran_order ? columns : rows;
    const std::size_t inner = fortran_order ? rows : columns;
    for (std::size_t a = 0; a < outer; ++a) {
        for (std::size_t b = 0; b < inner; ++b) {
            const std::size_t at = fortran_order ? b * columns + a : a * columns + b;
            z[at] = value_at(data, type);
            data += type.size;
        }
    }
}

}  // namespace

bool is_npy(std::string_view bytes) {
    return bytes.starts_with(magic);
}

std::optional<GridFault> read_npy(std::string_view bytes, Grid& grid) {
    if (!is_npy(bytes)) {
        return GridFault{0, "it does not start as a NumPy .npy file does"};
    }
    std::string_view text;
    std::size_t data_start = 0;
    if (auto fault = header_text(bytes, text, data_start)) {
        return fault;
    }
    ArrayHeader header;
    HeaderParser parser(text);
    if (!parser.parse(header)) {
        return GridFault{0, "its NumPy header cannot be read: " + parser.fault};
    }
    const std::optional<ValueType> type = value_type(header.descr);
    if (!type) {
        return GridFault{0, "it holds values of type " + platform::quoted(header.descr) +
                                "; toven reads float64 (\"<f8\") and float32 (\"<f4\")"};
    }
    if (header.shape.size() != 2) {
        return GridFault{0, format("it holds a %zu-dimensional array; a grid is 2-dimensional",
                                   header.shape.size())};
    }
    const std::uint64_t rows = header.shape[0];
    const std::uint64_t columns = header.shape[1];
    // An empty array holds no bytes of values whatever its other size says, so that size
    // must not become a count of nodes.
    if (rows < 2 || columns < 2) {
        return GridFault{0, format("the grid is %llu x %llu values (rows x columns); it needs at "
                                   "least 2 x 2",
                                   static_cast<unsigned long long>(rows),
                                   static_cast<unsigned long long>(columns))};
    }
    const std::size_t data_size = bytes.size() - data_start;
    // Each size is below 2^52: the first test keeps the product from overflowing.
    if ((rows != 0 && columns > data_size / rows / type->size + 1) ||
        rows * columns * type->size != data_size) {
        return GridFault{0, format("its header says %llu x %llu values, but it holds %zu bytes "
                                   "of values",
                                   static_cast<unsigned long long>(rows),
                                   static_cast<unsigned long long>(columns), data_size)};
    }
    load_values(bytes.data() + data_start, *type, header.fortran_order, rows, columns, grid.z);
    for (std::size_t i = 0; i < grid.z.size(); ++i) {
        if (std::isinf(grid.z[i])) {
            return GridFault{0, format("the value at row %zu, column %zu is not a finite number",
                                       i / columns, i % columns)};
        }
    }
    for (std::uint64_t j = 0; j < columns; ++j) {
        grid.x.push_back(static_cast<double>(j));
    }
    for (std::uint64_t i = 0; i < rows; ++i) {
        grid.y.push_back(static_cast<double>(i));
    }
    return std::nullopt;
}

}  // namespace toven
