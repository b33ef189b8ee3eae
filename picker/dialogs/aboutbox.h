// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

#include <functional>

// The picker's About box: its icon, name and version, what it does, "OK" and "&Help". "OK" ends
// it with 1, Escape or the close box with 0; "&Help" calls `showHelp` (the main window opens
// the help page and reports a failure its own way) and then ends the box with 1.
class AboutBox : public QDialog
{
    Q_OBJECT

public:
    AboutBox(QWidget *owner, std::function<void()> showHelp);

private:
    std::function<void()> m_showHelp;
};

// The texts of the About box, line by line.
extern const char *const AboutCaption;
extern const char *const AboutProductLine;
extern const char *const AboutPurposeLine;
extern const char *const AboutCompanionLine;
