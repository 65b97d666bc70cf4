#include "app/files/grid_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <utility>
#include <vector>

#include "app/files/grid_triples.h"
#include "platform/visible_text.h"

namespace toven {

namespace {

constexpr double hole = std::numeric_limits<double>::quiet_NaN();

enum class CellKind { number, missing, text, infinite };

struct Cell {
    CellKind kind = CellKind::missing;
    double value = hole;
    std::string_view text;
};

bool same_letters(std::string_view text, std::string_view lower) {
    return text.size() == lower.size() &&
           std::equal(text.begin(), text.end(), lower.begin(),
                      [](char a, char b) { return (a | 0x20) == b; });
}

// A number as the "C" locale writes it, a missing value, or text.
Cell read_cell(std::string_view text) {
    if (text.empty() || text == "-" || same_letters(text, "nan") || same_letters(text, "na")) {
        return {CellKind::missing, hole, text};
    }
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (*begin == '+' && text.size() > 1 && begin[1] != '-' && begin[1] != '+') {
        ++begin;
    }
    double value = 0;
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (stop != end) {
        return {CellKind::text, hole, text};
    }
    if (error == std::errc::result_out_of_range) {
        // Too small is a zero or a denormal; too large has no value.
        char digits[64] = {};
        if (text.size() >= sizeof digits) {
            return {CellKind::infinite, hole, text};
        }
        std::copy(begin, end, digits);
        value = std::strtod(digits, nullptr);
    }
    if (std::isnan(value)) {
        return {CellKind::missing, hole, text};
    }
    return {std::isinf(value) ? CellKind::infinite : CellKind::number, value, text};
}

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The line up to a "#" that stands outside double quotes.
std::string_view without_comment(std::string_view line) {
    if (line.find('#') == std::string_view::npos) {
        return line;
    }
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') {
            quoted = !quoted;
        } else if (line[i] == '#' && !quoted) {
            return line.substr(0, i);
        }
    }
    return line;
}

// A field that opens with a double quote runs to the next one; the quotes are not its text.
std::string_view quoted_field(std::string_view line, std::size_t& position) {
    const std::size_t close = line.find('"', position + 1);
    const std::size_t stop = close == std::string_view::npos ? line.size() : close;
    const std::string_view field = line.substr(position + 1, stop - position - 1);
    position = close == std::string_view::npos ? line.size() : close + 1;
    return field;
}

// fields = field { ("," | blanks) field }: commas when the file's first line has one, else
// blanks and tabs. Between commas a field may be empty. Each field goes to `take` as it is
// read, so that a line of millions of values keeps no more than their numbers.
template <class Take>
void split_fields(std::string_view line, bool commas, Take&& take) {
    std::size_t position = 0;
    while (true) {
        while (position < line.size() && (line[position] == ' ' || line[position] == '\t')) {
            ++position;
        }
        if (!commas && position == line.size()) {
            return;
        }
        const std::size_t start = position;
        const bool in_quotes = position < line.size() && line[position] == '"';
        std::string_view field = in_quotes ? quoted_field(line, position) : std::string_view();
        const std::size_t stop = std::min(
            commas ? line.find(',', position) : line.find_first_of(" \t", position), line.size());
        const std::string_view rest = trimmed(line.substr(position, stop - position));
        if (!in_quotes) {
            field = rest;
        } else if (!rest.empty()) {
            field = line.substr(start, stop - start);  // text after the quotes: no number
        }
        take(read_cell(field));
        position = stop;
        if (commas && position == line.size()) {
            return;
        }
        position += commas ? 1 : 0;
    }
}

// A field as a message quotes it: short, and cut only between UTF-8 characters.
std::string quoted(std::string_view text) {
    constexpr std::size_t longest = 24;
    if (text.size() > longest) {
        std::size_t cut = longest;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        return '"' + platform::visible_text(text.substr(0, cut)) + "...\"";
    }
    return platform::quoted(text);
}

// The numbers of a text grid file, row by row, as its lines give them.
struct Table {
    std::vector<double> cells;   // holes and the corner are NaN
    std::vector<int> row_lines;  // the line of each row
    std::size_t width = 0;       // values in a row; the first row may have one fewer
    bool header = false;         // a row of x, a column of y, and a corner before them
    bool row_names = false;      // a column of y under the names of the columns, no row of x
    std::size_t names = 0;       // the count of the columns' names, when a line gives them
    bool commas = false;
    bool ends_in_comma = true;  // every line so far ends in a comma and nothing after it

    std::size_t rows() const { return row_lines.size(); }
};

// What add_row needs of a line whose numbers were put at the end of the table's cells: how
// many fields it has, its first and last, and the first field after the first that is not a
// finite number or missing.
struct LineFields {
    std::size_t count = 0;
    Cell first;
    Cell last;
    std::optional<Cell> bad;  // text or infinite, after the first field
    bool text = false;        // any field is text
    bool number = false;      // any is a number
    bool infinite = false;    // any is too large
};

void take_field(Table& table, LineFields& fields, const Cell& cell) {
    if (fields.count == 0) {
        fields.first = cell;
    } else if (!fields.bad && (cell.kind == CellKind::text || cell.kind == CellKind::infinite)) {
        fields.bad = cell;
    }
    fields.last = cell;
    fields.text = fields.text || cell.kind == CellKind::text;
    fields.number = fields.number || cell.kind == CellKind::number;
    fields.infinite = fields.infinite || cell.kind == CellKind::infinite;
    ++fields.count;
    table.cells.push_back(cell.value);
}

std::optional<GridFault> bad_field(const Cell& cell, int line) {
    if (cell.kind == CellKind::text) {
        const bool semicolons = cell.text.find(';') != std::string_view::npos;
        return GridFault{line, quoted(cell.text) + " is not a number" +
                                   (semicolons ? " (values are separated by commas, blanks "
                                                 "or tabs, not semicolons)"
                                               : "")};
    }
    if (cell.kind == CellKind::infinite) {
        return GridFault{line, quoted(cell.text) + " is not a finite number"};
    }
    return std::nullopt;
}

std::optional<GridFault> add_row(Table& table, const LineFields& fields, int line) {
    const bool first = table.rows() == 0;
    if (first) {
        // An empty or a text corner before x values marks the first row as the x values.
        const Cell& corner = fields.first;
        table.row_names = table.row_names || (table.names > 0 && fields.count == table.names + 1);
        table.header =
            !table.row_names && ((corner.kind == CellKind::text && fields.count > 1) ||
                                 (corner.kind == CellKind::missing && corner.text.empty()));
        table.width = fields.count;
    } else if (table.rows() == 1 && !table.header && !table.commas &&
               fields.count == table.width + 1) {
        // Blank-separated: a first row one short is the x values, its corner left out.
        table.header = true;
        table.cells.insert(table.cells.begin(), hole);
        table.width = fields.count;
    } else if (fields.count != table.width) {
        return GridFault{line, "this line has " + std::to_string(fields.count) +
                                   " values where the lines above have " +
                                   std::to_string(table.width)};
    }
    if (!(first && table.header)) {
        if (auto fault = bad_field(fields.first, line)) {
            return fault;
        }
    } else if (fields.first.kind == CellKind::infinite) {
        return bad_field(fields.first, line);
    }
    if (fields.bad) {
        return bad_field(*fields.bad, line);
    }
    table.row_lines.push_back(line);
    table.ends_in_comma = table.ends_in_comma && table.commas && fields.count > 1 &&
                          fields.last.text.empty() && fields.last.kind == CellKind::missing;
    return std::nullopt;
}

// Some writers end every line with a comma: that is no column of missing values.
void drop_last_column(Table& table) {
    std::size_t to = 0;
    for (std::size_t from = 0; from < table.cells.size(); ++from) {
        if ((from + 1) % table.width != 0) {
            table.cells[to++] = table.cells[from];
        }
    }
    table.cells.resize(to);
    table.width -= 1;
}

std::optional<GridFault> read_table(std::string_view text, Table& table) {
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);  // a byte order mark that spreadsheets write
    }
    int number = 0;
    bool first_line = true;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++number;
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        line = trimmed(without_comment(line));
        if (line.empty()) {
            continue;
        }
        if (first_line) {
            table.commas = line.find(',') != std::string_view::npos;
        }
        const std::size_t line_start = table.cells.size();
        LineFields fields;
        split_fields(line, table.commas,
                     [&](const Cell& cell) { take_field(table, fields, cell); });
        if (std::exchange(first_line, false) && fields.text && !fields.number && !fields.infinite) {
            // The names of the columns. Over an empty corner (as R's write.csv and pandas
            // write them) or one short of the rows (as R's write.table does), the first
            // column names the rows.
            table.cells.resize(line_start);
            table.names = fields.count;
            table.row_names = fields.count > 1 && fields.first.kind == CellKind::missing &&
                              fields.first.text.empty();
            continue;
        }
        if (auto fault = add_row(table, fields, number)) {
            return fault;
        }
    }
    return std::nullopt;
}

// The first of `values` that is missing or breaks their order; none when they are numbers
// that run one way.
struct NodeFault {
    std::size_t index = 0;
    bool missing = false;
};

std::optional<NodeFault> node_fault(const std::vector<double>& values) {
    const bool increasing = values.size() < 2 || values[1] > values[0];
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (std::isnan(values[i])) {
            return NodeFault{i, true};
        }
        if (i > 0 && !(increasing ? values[i] > values[i - 1] : values[i] < values[i - 1])) {
            return NodeFault{i, false};
        }
    }
    return std::nullopt;
}

// "a y value of the first column is missing", "the x values of the first row are not ...".
std::string node_message(const NodeFault& fault, const char* name, const char* place) {
    const std::string article = std::string_view(name) == "x" ? "an " : "a ";
    return fault.missing ? article + name + " value of the first " + place + " is missing"
                         : std::string("the ") + name + " values of the first " + place +
                               " are not increasing or decreasing";
}

// A nameless first row whose corner is the count of x values, as some writers of the
// nonuniform matrix put it, with x and y values that run one way, is the nodes.
bool counted_corner(const Table& table) {
    if (table.header || table.width < 3 || table.rows() < 3 ||
        table.cells[0] != static_cast<double>(table.width - 1)) {
        return false;
    }
    std::vector<double> x(table.cells.begin() + 1, table.cells.begin() + table.width);
    std::vector<double> y;
    for (std::size_t row = 1; row < table.rows(); ++row) {
        y.push_back(table.cells[row * table.width]);
    }
    return !node_fault(x) && !node_fault(y);
}

// The y values of the first column; the x values of the first row, or for rows that are
// named, 0 up.
std::optional<GridFault> matrix_with_nodes(Table& table, Grid& grid) {
    const std::size_t width = table.width;
    const std::size_t first_row = table.header ? 1 : 0;
    if (table.header) {
        grid.x.assign(table.cells.begin() + 1, table.cells.begin() + width);
    }
    for (std::size_t column = 1; !table.header && column < width; ++column) {
        grid.x.push_back(static_cast<double>(column - 1));
    }
    if (const auto fault = node_fault(grid.x)) {
        return GridFault{table.row_lines[0], node_message(*fault, "x", "row")};
    }
    for (std::size_t row = first_row; row < table.rows(); ++row) {
        grid.y.push_back(table.cells[row * width]);
    }
    if (const auto fault = node_fault(grid.y)) {
        return GridFault{table.row_lines[fault->index + first_row],
                         node_message(*fault, "y", "column")};
    }
    // The values close up over the nodes, in place.
    std::size_t to = 0;
    for (std::size_t row = first_row; row < table.rows(); ++row) {
        for (std::size_t column = 1; column < width; ++column) {
            table.cells[to++] = table.cells[row * width + column];
        }
    }
    table.cells.resize(to);
    grid.z = std::move(table.cells);
    return std::nullopt;
}

void plain_matrix(Table& table, Grid& grid) {
    for (std::size_t column = 0; column < table.width; ++column) {
        grid.x.push_back(static_cast<double>(column));
    }
    for (std::size_t row = 0; row < table.rows(); ++row) {
        grid.y.push_back(static_cast<double>(row));
    }
    grid.z = std::move(table.cells);
}

}  // namespace

std::optional<GridFault> read_grid_text(std::string_view text, bool triples, GridFile& file) {
    Table table;
    if (auto fault = read_table(text, table)) {
        return fault;
    }
    if (table.rows() == 0) {
        return GridFault{0, "it holds no numbers"};
    }
    if (table.ends_in_comma) {
        drop_last_column(table);
    }
    if (triples && (table.header || table.width != 3)) {
        return GridFault{table.row_lines[0], "an x y z line holds three numbers: x, y and z"};
    }
    if (triples || (!table.header && !table.row_names && table.width == 3)) {
        const TripleLines lines{table.cells, table.row_lines};
        bool looks_like_triples = triples;
        auto fault = triples_grid(lines, file.grid, looks_like_triples);
        if (!fault) {
            file.format = GridFormat::triples;
            return std::nullopt;
        }
        if (triples) {
            return fault;
        }
        if (looks_like_triples) {
            // Heights that repeat in the first two columns look like x and y: say how to
            // have such a matrix read as one.
            fault->message +=
                " (three columns are read as x y z lines; a matrix of three columns needs a "
                "first row of x values)";
            return fault;
        }
        file.grid = Grid{};
    }
    file.format = GridFormat::matrix;
    table.header = table.header || (!table.row_names && counted_corner(table));
    if (table.header || table.row_names) {
        return matrix_with_nodes(table, file.grid);
    }
    plain_matrix(table, file.grid);
    return std::nullopt;
}

}  // namespace toven
