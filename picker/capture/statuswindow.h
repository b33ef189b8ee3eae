#pragma once

#include <QDialog>

class QLineEdit;

// The status window: a small tool window with one read-only line showing the text being picked
// up; its caption names the field the text goes to. It starts hidden. Enter, Esc and the close
// box hide it and report that the user closed it.
class StatusWindow : public QDialog
{
    Q_OBJECT

public:
    explicit StatusWindow(QWidget *owner = nullptr);

    // The line's text and the caption, as bytes in the locale's encoding (UTF-8).
    void showText(const std::string &text, const std::string &caption);
    QString text() const;

signals:
    void closedByUser();

protected:
    void done(int result) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QLineEdit *m_line;
};
