#include "picker/capture/statuswindow.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

#include "picker/capture/capturetext.h"

namespace {

// The room QLineEdit keeps between its frame and its text on either side.
constexpr int LineEditTextMargin = 2;

} // namespace

StatusWindow::StatusWindow(QWidget *owner)
    : QDialog(owner, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_line(new QLineEdit(this))
{
    setWindowTitle(QStringLiteral("quillon: - data you are picking up"));
    setObjectName(QStringLiteral("statusWindow"));
    m_line->setObjectName(QStringLiteral("statusText")); // control 1000
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
