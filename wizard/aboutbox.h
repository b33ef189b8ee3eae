#pragma once

#include <QDialog>

// Dialog 140: the program's icon, name and version.
class AboutBox : public QDialog
{
    Q_OBJECT

public:
    static constexpr const char *Version = "1.01";

    explicit AboutBox(QWidget *parent = nullptr);
};
