#include "WaitCursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace
{
bool HasGui()
{
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr;
}
} // namespace

CWaitCursor::CWaitCursor() : m_bActive(HasGui())
{
    if (m_bActive)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

CWaitCursor::~CWaitCursor()
{
    if (m_bActive)
        QGuiApplication::restoreOverrideCursor();
}

void CWaitCursor::Restore()
{
    if (m_bActive)
        QGuiApplication::changeOverrideCursor(Qt::WaitCursor);
}
