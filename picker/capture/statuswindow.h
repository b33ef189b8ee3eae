// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QPoint>
#include <QRect>
#include <QSize>

class QLineEdit;

// Where the status window goes: beside the picker, never over it, so that the next click on a
// field button hits the button. Below the picker, else to its right, above it or to its left:
// the first side where the whole window (`frame`, its size with the window manager's frame)
// fits in the work area; lined up with the picker's left or top edge and moved along that side
// as far as the work area needs. Where no side has room, the side with the most room, kept in
// the work area.
QPoint statusWindowPlace(const QSize &frame, const QRect &picker, const QRect &workArea);

// The status window: a small tool window with one read-only line showing the text being picked
// up; its caption names the field the text goes to. It starts hidden. Enter, Esc and the close
// box hide it and report that the user closed it. Shown, it stays beside its owner, the picker,
// and follows it when it moves or changes its size. Coming up, it leaves the keyboard focus
// where it is.
class StatusWindow : public QDialog
{
    Q_OBJECT

public:
    explicit StatusWindow(QWidget *owner = nullptr);

    // The line's text and the caption, as bytes in the locale's encoding (UTF-8).
    void showText(const std::string &text, const std::string &caption);
    QString text() const;

    // Moves the window beside its owner, in the work area of the owner's screen.
    void placeBesideOwner();

signals:
    void closedByUser();

protected:
    void done(int result) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The window's size with the window manager's frame.
    QSize framedSize() const;
    // The window manager's frame is known only some time after the window is first shown, and
    // makes the window larger: it is placed again then.
    void placeAgainIfFrameChanged();

    QLineEdit *m_line;
    QSize m_placedFrame;
};
