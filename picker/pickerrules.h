#pragma once

#include <string>
#include <string_view>

#include "desktop/launch.h"
#include "fieldvalues/message.h"
#include "fieldvalues/tabledescription.h"
#include "kolvane/kolvane.h"

// The picker's rules that need no window: its command line, its window's size, and the texts of
// its own messages.

// Window-menu commands.
inline constexpr int LoadNewTableCommand = 2008;
inline constexpr int StartOverCommand = 2010;
inline constexpr int AboutCommand = 2014;
inline constexpr int HelpCommand = 2015;
inline constexpr int AlwaysOnTopCommand = 2017;
inline constexpr int ChangeOrientationCommand = 2018;
inline constexpr int ViewCurrentDataCommand = 2019;
inline constexpr int TableInformationCommand = 2020;
inline constexpr int ShowPickingCommand = 2021;
inline constexpr int FillRowCommand = 2022;

// The arguments after the program's name joined by single blanks: the Table Description path,
// so that `quillon My Table.dtd` arrives whole.
std::string JoinCommandLine(int argc, const char *const *argv);

struct PixelSize
{
    int width = 0;
    int height = 0;

    bool operator==(const PixelSize &) const = default;
};

// The frame allowance: twice the sizing frame's width, less one.
int FrameAllowance();

// The picker's window for `fieldCount` buttons in a column or a row, with a caption of
// `captionSize` pixels.
PixelSize PickerWindowSize(int fieldCount, Orientation orientation, int frameAllowance,
                           int captionSize);

// The connection string with the value of every password key (PWD, Password, in any case)
// written as asterisks.
std::string MaskPasswords(std::string_view connectString);

// The information box: the connection string one key a line (passwords masked), then the table.
Message TableInformationMessage(const TableDescription &description);

// The question asked before unsaved values are dropped: when starting over or loading another
// table (`exiting` false), or when closing.
Message UnsavedQuestion(bool exiting);

// A Table Description path longer than the picker works with.
Message PathTooLongMessage(std::string_view path);

// The wizard or the help page could not be started.
Message LaunchFailedMessage(const LaunchFailure &failure);

// There is not enough memory for the row's values.
Message OutOfMemoryMessage();
