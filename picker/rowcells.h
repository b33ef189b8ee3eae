// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "fieldvalues/tabledescription.h"
#include "picker/capture/pickedrow.h"

// A copied row of cells (what a spreadsheet or a web page's table puts on the clipboard: cells
// separated by tabs, rows by line breaks) turned into the values of a row's fields. Plain C++.

// Where the cells of a copied text go.
struct RowCells
{
    struct Cell
    {
        int field = 0;
        std::string text; // as copied, not yet cleaned
    };
    // At most one cell per field, in the order of the fields.
    std::vector<Cell> cells;
    // The first line named the fields: its cells are not values.
    bool headed = false;
    // Cells holding more than blanks that went to no field: past the last field, or under a
    // heading that names none.
    int cellsLeftOver = 0;
    // Lines holding more than blanks after the one that filled the row.
    int linesLeftOver = 0;
};

// Splits `text` into lines and cells. Lines end at LF, with or without a CR before it; lines of
// blanks only are passed over. Cells are separated by tabs; a cell in double quotes may hold
// tabs and line breaks, with "" for a quote (as spreadsheets copy such cells), and one whose
// closing quote is not followed by a tab, a line break or the end is read as it stands.
//
// With one line, cell k goes to field k (from 0) in button order. With two or more lines whose
// first line names fields (a cell equal to a field's title or to its column name, compared
// without regard to ASCII case and the blanks around it), each cell of the second line goes to
// the field its heading names; cells under other headings are left over, and a field named
// twice takes the first. Either way only the first line of values is used.
RowCells splitCopiedRow(std::string_view text, const TableDescription &description);

// What storing the cells did.
struct RowFillResult
{
    // The fields that took a value, in order.
    std::vector<int> fields;
    // For the status line: what was left over, then the values as stored, between " | ".
    std::string status;
};

// Stores the cells in `row` as picked values are stored: each cleaned as a picked text for its
// field's type and cut to the field's width; a cell of blanks leaves its field as it was. A
// field that held a value keeps it as its previous value. Sets neither hasValue nor unsaved.
RowFillResult storeRowCells(const RowCells &cells, const TableDescription &description,
                            PickedRow &row);

// What the status line says when the copied text fills no field.
extern const char *const NoCellsText;
