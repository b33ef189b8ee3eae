// SPDX-License-Identifier: MIT
#pragma once

#include <QPointer>
#include <QWidget>

#include "fieldvalues/message.h"

// Shows messages in modal message boxes owned by a window.
class QtMessageSink final : public MessageSink
{
public:
    explicit QtMessageSink(QWidget *owner = nullptr) : m_owner(owner) {}
    void setOwner(QWidget *owner) { m_owner = owner; }
    MessageAnswer show(const Message &message) override;

private:
    QPointer<QWidget> m_owner;
};
