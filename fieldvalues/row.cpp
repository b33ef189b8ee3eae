// SPDX-License-Identifier: MIT
#include "fieldvalues/row.h"

#include "fieldvalues/datetime.h"

RowProblem checkRow(const TableDescription &description, std::span<std::string> values,
                    CheckMode mode)
{
    RowProblem problem;
    int count = std::min<int>(description.fieldCount, static_cast<int>(values.size()));
    for (int i = 0; i < count; ++i) {
        const FieldDescription &field = description.fields[static_cast<std::size_t>(i)];
        std::string &value = values[static_cast<std::size_t>(i)];
        if (!value.empty() &&
            !checkFieldValue(value, field.sqlType, field.length, problem.error, mode)) {
            problem.field = i;
            return problem;
        }
        // The check may have rewritten a value to nothing (",,," in a number field).
        if (value.empty() && field.required) {
            problem.field = i;
            problem.missing = true;
            problem.error.clear();
            return problem;
        }
    }
    problem.error.clear();
    return problem;
}

void startRow(const TableDescription &description, std::span<std::string> values)
{
    int count = std::min<int>(description.fieldCount, static_cast<int>(values.size()));
    for (int i = 0; i < count; ++i) {
        const FieldDescription &field = description.fields[static_cast<std::size_t>(i)];
        std::string &value = values[static_cast<std::size_t>(i)];
        if (field.defaultValue.empty()) {
            value.clear();
        } else {
            int width =
                field.valueWidth > 0 ? field.valueWidth : valueWidth(field.sqlType, field.length);
            value = initialFieldValue(field.defaultValue, width, field.sqlType);
        }
    }
}
