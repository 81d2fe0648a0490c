#pragma once

#include "MessageBox.h"

#include <QString>
#include <QStringList>

// Records every message box shown while it lives, instead of showing it.
class MessageRecorder
{
public:
    MessageRecorder()
    {
        m_previous = SetMessageBoxHandler([this](const QString &text) { m_messages << text; });
    }
    ~MessageRecorder() { SetMessageBoxHandler(std::move(m_previous)); }
    MessageRecorder(const MessageRecorder &) = delete;
    MessageRecorder &operator=(const MessageRecorder &) = delete;

    const QStringList &messages() const { return m_messages; }
    void clear() { m_messages.clear(); }

private:
    QStringList m_messages;
    MessageBoxHandler m_previous;
};
