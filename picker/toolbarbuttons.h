// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

#include "fieldvalues/tabledescription.h"
#include "kolvane/kolvane.h"

// The picker's toolbar in the toolbar's own terms: control and command identifiers, and the
// button records of a table's fields, the separator and "Enter".

inline constexpr int ToolbarControlId = 400;
inline constexpr int ToolbarImageCount = 30;
inline constexpr int ToolbarBitmap = 103;
inline constexpr int FirstFieldCommand = 401; // field i is FirstFieldCommand + i
inline constexpr int EnterCommand = 501;
inline constexpr int SeparatorCommand = 502;

// The button of field `index`, labelled with its title (at most 8 bytes).
ButtonRecord fieldButton(const FieldDescription &field, int index);
ButtonRecord separatorButton();
ButtonRecord enterButton();

// The buttons of a loaded table: its fields in order, the separator, then "Enter".
std::vector<ButtonRecord> tableButtons(const TableDescription &description);

// The field that a command names among `fieldCount` fields, -1 for any other command.
int fieldOfCommand(int command, int fieldCount);

// The value state of a field's button.
inline std::int32_t fieldFillState(bool filled)
{
    return filled ? TBFILL_FILLED : TBFILL_EMPTY;
}
