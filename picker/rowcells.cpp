// SPDX-License-Identifier: MIT
#include "picker/rowcells.h"

#include <algorithm>
#include <cstddef>

#include "fieldvalues/sqltypes.h"
#include "fieldvalues/usertext.h"
#include "picker/capture/capturetext.h"

const char *const NoCellsText =
    USER_TEXT("RowCells", "The copied text has no cells for the fields: copy a row of cells, "
                          "then press the keys again.");

namespace {

using Line = std::vector<std::string>;

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool holdsText(std::string_view cell)
{
    return std::any_of(cell.begin(), cell.end(), [](char c) { return !isBlank(c); });
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

char lowered(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lowered(x) == lowered(y);
           });
}

// Where a cell ends: at a tab, at a line break (CR LF or LF) or at the end.
bool endsCell(std::string_view text, std::size_t at)
{
    return at == text.size() || text[at] == '\t' || text[at] == '\n' ||
           (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ||
           (text[at] == '\r' && at + 1 == text.size());
}

// A cell in quotes from `at` (the opening quote); the position after its closing quote, or
// npos when it is not such a cell.
std::size_t readQuoted(std::string_view text, std::size_t at, std::string &cell)
{
    cell.clear();
    for (std::size_t i = at + 1; i < text.size(); ++i) {
        if (text[i] != '"') {
            cell.push_back(text[i]);
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '"') {
            cell.push_back('"');
            ++i;
            continue;
        }
        return endsCell(text, i + 1) ? i + 1 : std::string_view::npos;
    }
    return std::string_view::npos;
}

std::vector<Line> splitLines(std::string_view text)
{
    std::vector<Line> lines;
    Line line;
    std::string cell;
    std::size_t at = 0;
    for (;;) {
        std::size_t end = std::string_view::npos;
        if (at < text.size() && text[at] == '"')
            end = readQuoted(text, at, cell);
        if (end == std::string_view::npos) {
            end = at;
            while (!endsCell(text, end))
                ++end;
            cell.assign(text.substr(at, end - at));
        }
        line.push_back(std::move(cell));
        cell.clear();
        if (end < text.size() && text[end] == '\t') {
            at = end + 1;
            continue;
        }
        if (std::any_of(line.begin(), line.end(),
                        [](const std::string &c) { return holdsText(c); }))
            lines.push_back(std::move(line));
        line.clear();
        if (end >= text.size())
            break;
        at = end + (text[end] == '\r' ? 2 : 1);
        if (at >= text.size())
            break;
    }
    return lines;
}

// The field that a heading names: by title first, then by column name; -1 for none.
int fieldNamed(std::string_view heading, const TableDescription &description)
{
    heading = trimmed(heading);
    if (heading.empty())
        return -1;
    for (int i = 0; i < description.fieldCount; ++i) {
        if (equalsIgnoringCase(heading, description.fields[static_cast<std::size_t>(i)].title))
            return i;
    }
    for (int i = 0; i < description.fieldCount; ++i) {
        if (equalsIgnoringCase(heading, description.fields[static_cast<std::size_t>(i)].name))
            return i;
    }
    return -1;
}

// `one` or `many`, in the user's language, with the count for %1.
std::string counted(int count, const char *one, const char *many)
{
    return fillIn(userText("RowCells", count == 1 ? one : many), {std::to_string(count)});
}

} // namespace

RowCells splitCopiedRow(std::string_view text, const TableDescription &description)
{
    RowCells result;
    const std::vector<Line> lines = splitLines(text);
    if (lines.empty())
        return result;
    const int fieldCount = std::clamp(description.fieldCount, 0, MaxFields);

    // The field under each column: by the headings, or in button order.
    std::vector<int> columns;
    if (lines.size() >= 2) {
        for (const std::string &heading : lines.front())
            columns.push_back(fieldNamed(heading, description));
        result.headed = std::any_of(columns.begin(), columns.end(), [](int f) { return f >= 0; });
    }
    const Line &values = result.headed ? lines[1] : lines.front();
    if (!result.headed) {
        columns.clear();
        for (std::size_t k = 0; k < values.size(); ++k)
            columns.push_back(k < static_cast<std::size_t>(fieldCount) ? static_cast<int>(k) : -1);
    }
    result.linesLeftOver = static_cast<int>(lines.size()) - (result.headed ? 2 : 1);

    std::vector<bool> taken(static_cast<std::size_t>(fieldCount), false);
    for (std::size_t k = 0; k < values.size(); ++k) {
        const int field = k < columns.size() ? columns[k] : -1;
        if (field < 0 || taken[static_cast<std::size_t>(field)]) {
            if (holdsText(values[k]))
                ++result.cellsLeftOver;
            continue;
        }
        taken[static_cast<std::size_t>(field)] = true;
        result.cells.push_back({field, values[k]});
    }
    std::sort(result.cells.begin(), result.cells.end(),
              [](const RowCells::Cell &a, const RowCells::Cell &b) { return a.field < b.field; });
    return result;
}

RowFillResult storeRowCells(const RowCells &cells, const TableDescription &description,
                            PickedRow &row)
{
    RowFillResult result;
    std::string values;
    std::string cleaned;
    for (const RowCells::Cell &cell : cells.cells) {
        if (cell.field < 0 || cell.field >= row.fieldCount)
            continue;
        const FieldDescription &field = description.fields[static_cast<std::size_t>(cell.field)];
        cleaned = cell.text;
        normalizePickedText(cleaned, SqlType::keepsLineBreaks(field.sqlType));
        if (cleaned.empty())
            continue;
        row.storeValue(cell.field, cleaned);
        result.fields.push_back(cell.field);
        if (!values.empty())
            values += " | ";
        values += cleaned;
    }
    std::string notes;
    if (cells.cellsLeftOver > 0)
        notes = counted(cells.cellsLeftOver, USER_TEXT("RowCells", "%1 cell left over"),
                        USER_TEXT("RowCells", "%1 cells left over"));
    if (cells.linesLeftOver > 0) {
        if (!notes.empty())
            notes += ", ";
        notes += counted(cells.linesLeftOver, USER_TEXT("RowCells", "%1 more line not used"),
                         USER_TEXT("RowCells", "%1 more lines not used"));
    }
    if (result.fields.empty())
        result.status = userText("RowCells", NoCellsText);
    else
        result.status = notes.empty() ? values : notes + ": " + values;
    return result;
}
