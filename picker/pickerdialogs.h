// SPDX-License-Identifier: MIT
#pragma once

#include "picker/pickerwindow.h"

// The services of the running picker: its own dialogs, the desktop's Open dialog, the wizard
// beside the picker and the help page.
PickerServices desktopPickerServices();
