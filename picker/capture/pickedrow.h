// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "fieldvalues/tabledescription.h"
#include "picker/capture/capturebackend.h"

// The row being picked: per field the current and the previous value and whether the field
// holds a value; per row whether it holds unsaved picks, which field waits for clipboard text
// and which window copy requests go to.
//
// The value texts are sized once per loaded table (the field's value width); storing a value
// never allocates.
struct PickedRow
{
    int fieldCount = 0;
    std::array<std::string, MaxFields> value;
    std::array<std::string, MaxFields> previousValue;
    std::array<int, MaxFields> hasValue{};
    std::array<int, MaxFields> valueWidth{};
    int unsaved = 0;
    int pendingField = -1;
    WindowId captureTarget = 0;

    // Sizes the texts for the fields of `description` (their valueWidth must be set), empty and
    // without values. No field is waiting afterwards: a request made for the previous table
    // must not land in this one. Returns false, with nothing allocated, when memory runs out.
    bool allocate(const TableDescription &description);
    // Releases the texts; the row then has no fields.
    void release();

    // Starts the row over from the fields' defaults: a field with a default holds its initial
    // value, the others are empty; previous values are emptied and the row is saved. Neither
    // the waiting field nor the capture target changes.
    void reset(const TableDescription &description);

    bool anyFieldHasValue() const;

    // Stores cleaned text as the value of `field`, cut to the field's width without splitting a
    // character. A field that held a value keeps it as its previous value. Sets neither
    // hasValue nor unsaved.
    void storeValue(int field, std::string_view text);
};
