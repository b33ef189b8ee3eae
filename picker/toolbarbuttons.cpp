// SPDX-License-Identifier: MIT
#include "picker/toolbarbuttons.h"

#include <algorithm>

namespace {

ButtonRecord MakeRecord(std::int32_t image, int command, std::uint8_t style, std::string_view label,
                        std::int32_t valueState)
{
    ButtonRecord record{};
    record.image = image;
    record.command = command;
    record.state = TBSTATE_ENABLED;
    record.style = style;
    label.copy(record.label, MaxTitleLength);
    record.valueState = valueState;
    return record;
}

} // namespace

ButtonRecord FieldButton(const FieldDescription &field, int index)
{
    return MakeRecord(1, FirstFieldCommand + index, TBSTYLE_BUTTON, field.title, TBFILL_EMPTY);
}

ButtonRecord SeparatorButton()
{
    return MakeRecord(-1, SeparatorCommand, TBSTYLE_SEP, {}, TBFILL_EMPTY);
}

ButtonRecord EnterButton()
{
    return MakeRecord(0, EnterCommand, TBSTYLE_BUTTON, "Enter", TBFILL_ENTER);
}

std::vector<ButtonRecord> TableButtons(const TableDescription &description)
{
    std::vector<ButtonRecord> records;
    const int count = std::clamp(description.fieldCount, 0, MaxFields);
    for (int i = 0; i < count; ++i)
        records.push_back(FieldButton(description.fields[static_cast<std::size_t>(i)], i));
    records.push_back(SeparatorButton());
    records.push_back(EnterButton());
    return records;
}

int FieldOfCommand(int command, int fieldCount)
{
    const int field = command - FirstFieldCommand;
    return field >= 0 && field < std::min(fieldCount, MaxFields) ? field : -1;
}
