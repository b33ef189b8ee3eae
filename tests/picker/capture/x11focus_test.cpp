// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "picker/capture/x11/x11focus.h"

namespace {

struct FocusCase
{
    int type;
    int mode;
    int detail;
    bool before;
    bool inside;
};

// The focus events a window of another application gets while the picker hands the focus to it:
// only a focus given to it, and not taken by a grab, lets the copy keys go.
TEST(FocusHandoff, FocusEventsTellWhetherTheKeysReachTheWindow)
{
    const FocusCase cases[] = {
        {FocusIn, NotifyNormal, NotifyNonlinear, false, true},
        {FocusIn, NotifyNormal, NotifyNonlinearVirtual, false, true}, // into a window inside it
        {FocusIn, NotifyNormal, NotifyInferior, false, true},
        {FocusIn, NotifyUngrab, NotifyNonlinear, false, true},
        {FocusIn, NotifyWhileGrabbed, NotifyNonlinear, false, false}, // a grab holds the keys
        {FocusIn, NotifyNormal, NotifyPointer, false, false},         // follows the pointer
        {FocusIn, NotifyNormal, NotifyPointer, true, true},
        {FocusOut, NotifyNormal, NotifyNonlinear, true, false},
        {FocusOut, NotifyNormal, NotifyNonlinearVirtual, true, false},
        {FocusOut, NotifyNormal, NotifyInferior, true, true}, // down to a window inside
        {FocusOut, NotifyNormal, NotifyInferior, false, false},
        {FocusOut, NotifyGrab, NotifyNonlinear, true, false}, // a grab takes the keys
        {FocusOut, NotifyGrab, NotifyInferior, true, false},
        {FocusOut, NotifyNormal, NotifyPointerRoot, true, true},
    };
    for (const FocusCase &c : cases) {
        XFocusChangeEvent change{};
        change.type = c.type;
        change.mode = c.mode;
        change.detail = c.detail;
        EXPECT_EQ(x11::focusInsideAfter(change, c.before), c.inside)
            << (c.type == FocusIn ? "FocusIn" : "FocusOut") << " mode " << c.mode << " detail "
            << c.detail << " before " << c.before;
    }
}

} // namespace
