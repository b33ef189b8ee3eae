// SPDX-License-Identifier: MIT
#pragma once

#include <span>
#include <string>

#include "fieldvalues/fieldtypes.h"
#include "fieldvalues/tabledescription.h"

// The walk that "Enter" makes over a row: the first field that is required and empty, or whose
// value the check refuses. The check may rewrite values into their normal form.
struct RowProblem
{
    int field = -1;       // index of the field, -1 when the row is acceptable
    bool missing = false; // the field is required and empty
    std::string error;    // the check's error text when the value was refused
};

// `values` holds one text per field of `description`, in field order.
RowProblem checkRow(const TableDescription &description, std::span<std::string> values,
                    CheckMode mode = CheckMode::Picker);

// The values a new row starts with: initialFieldValue for each field with a default, empty
// otherwise.
void startRow(const TableDescription &description, std::span<std::string> values);
