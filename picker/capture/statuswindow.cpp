#include "picker/capture/statuswindow.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>

StatusWindow::StatusWindow(QWidget *owner)
    : QDialog(owner, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_line(new QLineEdit(this))
{
    setWindowTitle(QStringLiteral("quillon: - data you are picking up"));
    setObjectName(QStringLiteral("statusWindow"));
    m_line->setObjectName(QStringLiteral("statusText")); // control 1000
    m_line->setReadOnly(true);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_line);
    // 274 x 17 dialog units in the classic dialog font.
    resize(412, 28);
    setModal(false);
}

void StatusWindow::showText(const std::string &text, const std::string &caption)
{
    m_line->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    m_line->setCursorPosition(static_cast<int>(m_line->text().size()));
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
