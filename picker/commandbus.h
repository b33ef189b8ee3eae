// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string>

#include <QDBusContext>
#include <QObject>

#include "picker/commandline.h"

// Where a running picker takes commands on the session bus.
inline constexpr const char *PickerBusService = "net.quillon.Quillon";
inline constexpr const char *PickerBusPath = "/Picker";
inline constexpr const char *PickerBusInterface = "net.quillon.Picker";

inline constexpr const char *NoPickerText = "quillon: no picker is running to take the command\n";
inline constexpr const char *NoSessionBusText =
    "quillon: there is no D-Bus session bus to reach the picker through\n";
// %s: the bus's own words.
inline constexpr const char *CommandNotTakenText =
    "quillon: the picker did not take the command: %s\n";

// The picker's object on the session bus: each method runs its command once the call has been
// answered, so the sender never waits for a copy.
class PickerCommandService : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "net.quillon.Picker")

public:
    using Runner = std::function<void(const PickerCommand &)>;
    explicit PickerCommandService(Runner run, QObject *parent = nullptr);

    // Offers the object and asks for the name. A picker that started earlier keeps the name; this
    // one waits in the bus's queue and takes it over when that one ends. False without a bus.
    bool publish();

public slots:
    // The interface's methods, named as D-Bus names methods: other programs call them by name.
    void Pick(int field);
    void PickNext();
    void Enter();
    void FillRow();

private:
    void later(const PickerCommand &command);

    Runner m_run;
};

// Sends the command to the picker that holds the name. Returns the exit code of the invocation:
// 0 when the picker took it, else 1 with the text for standard error in `message`.
int sendPickerCommand(const PickerCommand &command, std::string &message);
