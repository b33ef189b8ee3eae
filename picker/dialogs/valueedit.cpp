// SPDX-License-Identifier: MIT
#include "picker/dialogs/valueedit.h"

#include <algorithm>

#include "fieldvalues/fieldtypes.h"
#include "fieldvalues/sqltypes.h"
#include "fieldvalues/text.h"
#include "picker/capture/capturetext.h"

namespace {

bool validField(const PickedRow &row, int field)
{
    return field >= 0 && field < row.fieldCount;
}

} // namespace

bool checkStoredValue(PickedRow &row, const FieldDescription &description, int field)
{
    if (!validField(row, field))
        return false;
    std::string error;
    return checkFieldValue(row.value[static_cast<std::size_t>(field)], description.sqlType,
                           description.length, error);
}

bool storeTypedValue(PickedRow &row, const FieldDescription &description, int field,
                     std::string text, const FillStateSink &fillState)
{
    if (!validField(row, field))
        return false;
    const std::size_t f = static_cast<std::size_t>(field);
    // The capture buffer holds the text and its terminator.
    cutToWidth(text, MaxCaptureLength - 1);
    normalizePickedText(text, SqlType::keepsLineBreaks(description.sqlType));
    cutToWidth(text, static_cast<std::size_t>(std::max(row.valueWidth[f], 0)));
    if (text == row.value[f])
        return false;

    row.previousValue[f].assign(row.value[f]);
    row.value[f].assign(text);
    // A typed value is as unsaved as a picked one: closing or starting over must ask first.
    row.unsaved = 1;
    if (text.empty()) {
        row.hasValue[f] = 0;
        if (fillState)
            fillState(field, false);
    } else if (row.hasValue[f] == 0) {
        row.hasValue[f] = 1;
        if (fillState)
            fillState(field, true);
    }
    return true;
}
