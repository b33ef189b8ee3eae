// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

// The wizard's About box: the program's icon, name and version.
class AboutBox : public QDialog
{
    Q_OBJECT

public:
    static constexpr const char *Version = "1.01";

    explicit AboutBox(QWidget *parent = nullptr);
};
