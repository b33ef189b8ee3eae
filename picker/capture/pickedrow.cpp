// SPDX-License-Identifier: MIT
#include "picker/capture/pickedrow.h"

#include <algorithm>
#include <new>
#include <span>

#include "fieldvalues/fieldtypes.h"
#include "fieldvalues/row.h"
#include "fieldvalues/text.h"

namespace {

std::size_t index(int field)
{
    return static_cast<std::size_t>(field);
}

} // namespace

bool PickedRow::allocate(const TableDescription &description)
{
    release();
    const int count = std::min(description.fieldCount, MaxFields);
    try {
        for (int i = 0; i < count; ++i) {
            const int width = std::max(description.fields[index(i)].valueWidth, 0);
            valueWidth[index(i)] = width;
            value[index(i)].reserve(static_cast<std::size_t>(width) + 1);
            previousValue[index(i)].reserve(static_cast<std::size_t>(width) + 1);
        }
    } catch (const std::bad_alloc &) {
        release();
        return false;
    }
    fieldCount = count;
    pendingField = -1;
    return true;
}

void PickedRow::release()
{
    for (std::size_t i = 0; i < value.size(); ++i) {
        std::string().swap(value[i]);
        std::string().swap(previousValue[i]);
        hasValue[i] = 0;
        valueWidth[i] = 0;
    }
    fieldCount = 0;
    unsaved = 0;
    pendingField = -1;
}

void PickedRow::reset(const TableDescription &description)
{
    // The initial values are made in a scratch row and copied, so that the sized texts keep
    // their room.
    static std::array<std::string, MaxFields> initial;
    startRow(description, std::span<std::string>(initial.data(), index(fieldCount)));
    for (int i = 0; i < fieldCount; ++i) {
        const std::size_t f = index(i);
        const std::string &start = initial[f];
        const std::size_t length = utf8PrefixLength(start, index(valueWidth[f]));
        value[f].assign(start.data(), length);
        hasValue[f] = description.fields[f].defaultValue.empty() ? 0 : 1;
        previousValue[f].clear();
    }
    unsaved = 0;
}

bool PickedRow::anyFieldHasValue() const
{
    for (int i = 0; i < fieldCount; ++i) {
        if (hasValue[index(i)] != 0)
            return true;
    }
    return false;
}

void PickedRow::storeValue(int field, std::string_view text)
{
    if (field < 0 || field >= fieldCount)
        return;
    const std::size_t f = index(field);
    if (hasValue[f] != 0)
        previousValue[f].assign(value[f]);
    value[f].assign(text.data(), utf8PrefixLength(text, index(valueWidth[f])));
}
