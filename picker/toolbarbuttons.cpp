// SPDX-License-Identifier: MIT
#include "picker/toolbarbuttons.h"

#include <algorithm>

#include "fieldvalues/usertext.h"

namespace {

ButtonRecord makeRecord(std::int32_t image, int command, std::uint8_t style, std::string_view label,
                        std::int32_t valueState)
{
    ButtonRecord record{};
    record.image = image;
    record.command = command;
    record.state = TBSTATE_ENABLED;
    record.style = style;
    // A field's title has at most MaxTitleLength bytes; "Enter" may take more in a translation.
    label.copy(record.label, sizeof record.label - 1);
    record.valueState = valueState;
    return record;
}

} // namespace

ButtonRecord fieldButton(const FieldDescription &field, int index)
{
    return makeRecord(1, FirstFieldCommand + index, TBSTYLE_BUTTON, field.title, TBFILL_EMPTY);
}

ButtonRecord separatorButton()
{
    return makeRecord(-1, SeparatorCommand, TBSTYLE_SEP, {}, TBFILL_EMPTY);
}

ButtonRecord enterButton()
{
    return makeRecord(0, EnterCommand, TBSTYLE_BUTTON, userText("Toolbar", "Enter"), TBFILL_ENTER);
}

std::vector<ButtonRecord> tableButtons(const TableDescription &description)
{
    std::vector<ButtonRecord> records;
    const int count = std::clamp(description.fieldCount, 0, MaxFields);
    for (int i = 0; i < count; ++i)
        records.push_back(fieldButton(description.fields[static_cast<std::size_t>(i)], i));
    records.push_back(separatorButton());
    records.push_back(enterButton());
    return records;
}

int fieldOfCommand(int command, int fieldCount)
{
    const int field = command - FirstFieldCommand;
    return field >= 0 && field < std::min(fieldCount, MaxFields) ? field : -1;
}
