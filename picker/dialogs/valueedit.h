// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string>

#include "fieldvalues/tabledescription.h"
#include "picker/capture/pickedrow.h"

// Field `field` now holds a value, or holds none: what the field's button shows.
using FillStateSink = std::function<void(int field, bool filled)>;

// Checks the stored value of `field` against its field's type, as the picker does before it
// shows a value: the value takes the check's normal form (thousands separators removed, a
// written date converted). True when the value is acceptable.
bool checkStoredValue(PickedRow &row, const FieldDescription &description, int field);

// Stores the text typed for `field`: cut to the capture length, cleaned as picked text is (line
// breaks kept in long-text fields) and cut to the field's value width. When that differs from
// the stored value, the stored value becomes the previous value, the row becomes unsaved and
// `fillState` hears of the field's new fill state when it changes (an emptied value is always
// told). Returns true when the value changed.
bool storeTypedValue(PickedRow &row, const FieldDescription &description, int field,
                     std::string text, const FillStateSink &fillState);
