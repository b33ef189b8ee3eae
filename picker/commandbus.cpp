// SPDX-License-Identifier: MIT
#include "picker/commandbus.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusReply>
#include <QTimer>

#include <cstdio>
#include <utility>

PickerCommandService::PickerCommandService(Runner run, QObject *parent)
    : QObject(parent), m_run(std::move(run))
{}

bool PickerCommandService::publish()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || bus.interface() == nullptr)
        return false;
    if (!bus.registerObject(QString::fromLatin1(PickerBusPath), this,
                            QDBusConnection::ExportAllSlots))
        return false;
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
        bus.interface()->registerService(QString::fromLatin1(PickerBusService),
                                         QDBusConnectionInterface::QueueService,
                                         QDBusConnectionInterface::DontAllowReplacement);
    return reply.isValid();
}

void PickerCommandService::later(const PickerCommand &command)
{
    QTimer::singleShot(0, this, [this, command] { m_run(command); });
}

void PickerCommandService::Pick(int field)
{
    if (field < 1 || field > MaxCommandField) {
        sendErrorReply(QDBusError::InvalidArgs,
                       QStringLiteral("field numbers go from 1 to %1").arg(MaxCommandField));
        return;
    }
    later({PickerCommand::Kind::Pick, field});
}

void PickerCommandService::PickNext()
{
    later({PickerCommand::Kind::PickNext, 0});
}

void PickerCommandService::Enter()
{
    later({PickerCommand::Kind::Enter, 0});
}

void PickerCommandService::FillRow()
{
    later({PickerCommand::Kind::FillRow, 0});
}

int sendPickerCommand(const PickerCommand &command, std::string &message)
{
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        message = NoSessionBusText;
        return 1;
    }
    static const char *const methods[] = {"Pick", "PickNext", "Enter", "FillRow"};
    QDBusMessage call = QDBusMessage::createMethodCall(
        QString::fromLatin1(PickerBusService), QString::fromLatin1(PickerBusPath),
        QString::fromLatin1(PickerBusInterface),
        QString::fromLatin1(methods[static_cast<int>(command.kind)]));
    if (command.kind == PickerCommand::Kind::Pick)
        call << command.field;
    // No one is to be started for the name: only a picker that runs takes commands.
    call.setAutoStartService(false);
    const QDBusMessage reply = bus.call(call);
    if (reply.type() != QDBusMessage::ErrorMessage) {
        message.clear();
        return 0;
    }
    if (QDBusError(reply).type() == QDBusError::ServiceUnknown ||
        reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner")) {
        message = NoPickerText;
        return 1;
    }
    const QByteArray text = reply.errorMessage().toUtf8();
    char line[512];
    std::snprintf(line, sizeof line, CommandNotTakenText, text.constData());
    message = line;
    return 1;
}
