// SPDX-License-Identifier: MIT
#include "desktop/messagebox.h"

#include <QMessageBox>

namespace {

QMessageBox::Icon toIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Stop:
        return QMessageBox::Critical;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

MessageAnswer QtMessageSink::show(const Message &message)
{
    QMessageBox box(toIcon(message.icon), QString::fromStdString(message.caption),
                    QString::fromStdString(message.text),
                    message.buttons == MessageButtons::YesNo
                        ? QMessageBox::Yes | QMessageBox::No
                        : QMessageBox::StandardButtons(QMessageBox::Ok),
                    m_owner.data());
    const int answer = box.exec();
    if (message.buttons == MessageButtons::YesNo)
        return answer == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
    return MessageAnswer::Ok;
}
