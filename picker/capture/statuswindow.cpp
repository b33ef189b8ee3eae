// SPDX-License-Identifier: MIT
#include "picker/capture/statuswindow.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QWindow>

#include <algorithm>

#include "picker/capture/capturetext.h"

namespace {

// The room QLineEdit keeps between its frame and its text on either side.
constexpr int LineEditTextMargin = 2;

// The start of a length along a line, moved back into the area where it can: a window longer
// than the area starts at the area's start.
int within(int start, int length, int areaStart, int areaLength)
{
    return std::max(areaStart, std::min(start, areaStart + areaLength - length));
}

} // namespace

QPoint statusWindowPlace(const QSize &frame, const QRect &picker, const QRect &workArea)
{
    const int x = within(picker.left(), frame.width(), workArea.left(), workArea.width());
    const int y = within(picker.top(), frame.height(), workArea.top(), workArea.height());
    struct Side
    {
        QPoint at;
        int room; // what is left on that side once the window is there; negative: too little
    };
    const Side sides[] = {
        {{x, picker.bottom() + 1}, workArea.bottom() - picker.bottom() - frame.height()},
        {{picker.right() + 1, y}, workArea.right() - picker.right() - frame.width()},
        {{x, picker.top() - frame.height()}, picker.top() - workArea.top() - frame.height()},
        {{picker.left() - frame.width(), y}, picker.left() - workArea.left() - frame.width()},
    };
    for (const Side &side : sides) {
        if (workArea.contains(QRect(side.at, frame)))
            return side.at;
    }
    const Side &best =
        *std::max_element(std::begin(sides), std::end(sides),
                          [](const Side &a, const Side &b) { return a.room < b.room; });
    return {within(best.at.x(), frame.width(), workArea.left(), workArea.width()),
            within(best.at.y(), frame.height(), workArea.top(), workArea.height())};
}

StatusWindow::StatusWindow(QWidget *owner)
    : QDialog(owner, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_line(new QLineEdit(this))
{
    setWindowTitle(tr("quillon: - data you are picking up"));
    setObjectName(QStringLiteral("statusWindow"));
    m_line->setObjectName(QStringLiteral("statusText"));
    m_line->setReadOnly(true);
    // Wide enough for the longest text it shows: 74 characters and "...", in its own font.
    QStyleOptionFrame option;
    option.initFrom(m_line);
    option.lineWidth = m_line->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, m_line);
    const QMargins margins = m_line->textMargins();
    const int text =
        m_line->fontMetrics().averageCharWidth() * static_cast<int>(StatusLineLength + 3) +
        margins.left() + margins.right() + 2 * LineEditTextMargin;
    m_line->setMinimumWidth(
        m_line->style()
            ->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(text, m_line->height()), m_line)
            .width());
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_line);
    resize(sizeHint());
    setModal(false);
    // It comes up by itself to say that a pick found nothing, also for keys pressed in another
    // application: the keyboard stays there.
    setAttribute(Qt::WA_ShowWithoutActivating);
    if (owner != nullptr)
        owner->installEventFilter(this);
}

void StatusWindow::showText(const std::string &text, const std::string &caption)
{
    m_line->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    // From its start, as far as it goes.
    m_line->setCursorPosition(0);
    setWindowTitle(QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())));
}

QString StatusWindow::text() const
{
    return m_line->text();
}

void StatusWindow::done(int result)
{
    QDialog::done(result);
    emit closedByUser();
}

void StatusWindow::keyPressEvent(QKeyEvent *event)
{
    // Enter closes the window like Esc: there is no default button to press.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

QSize StatusWindow::framedSize() const
{
    // Asked of the window itself: the widget's own idea of its frame can stay at none for a
    // while after the window manager has framed it.
    const QWindow *window = windowHandle();
    return window != nullptr ? size().grownBy(window->frameMargins()) : size();
}

void StatusWindow::placeBesideOwner()
{
    const QWidget *owner = parentWidget();
    const QScreen *screen = owner != nullptr ? owner->screen() : nullptr;
    if (screen == nullptr)
        return;
    const QWindow *window = windowHandle();
    const QMargins margins = window != nullptr ? window->frameMargins() : QMargins();
    m_placedFrame = size().grownBy(margins);
    // Window managers do not all read a place asked for a framed window alike: some put the
    // frame's corner there, some the client area's, and the frame then lands a frame's width
    // further down and to the right. Room for the frame's width on every side keeps the window
    // off the picker and in the work area wherever it lands.
    const QPoint slack(margins.left(), margins.top());
    const QSize room = m_placedFrame + QSize(2 * slack.x(), 2 * slack.y());
    const QPoint at =
        statusWindowPlace(room, owner->frameGeometry(), screen->availableGeometry()) + slack;
    if (at != pos())
        move(at);
}

void StatusWindow::placeAgainIfFrameChanged()
{
    if (isVisible() && framedSize() != m_placedFrame)
        placeBesideOwner();
}

void StatusWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    placeBesideOwner();
}

void StatusWindow::moveEvent(QMoveEvent *event)
{
    QDialog::moveEvent(event);
    placeAgainIfFrameChanged();
}

void StatusWindow::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    placeAgainIfFrameChanged();
}

bool StatusWindow::eventFilter(QObject *watched, QEvent *event)
{
    // The picker moved or changed its size (a new table, the other orientation).
    if (watched == parentWidget() && isVisible() &&
        (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        placeBesideOwner();
    return QDialog::eventFilter(watched, event);
}
