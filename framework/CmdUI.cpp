#include "CmdUI.h"

#include <QAction>

void CCmdUI::Enable(bool bOn)
{
    m_bEnabled = bOn;
    m_bEnableChanged = true;
}

void CCmdUI::SetCheck(bool bCheck)
{
    m_check = bCheck;
}

void CCmdUI::SetText(const QString &strText)
{
    m_text = strText;
}

void CCmdUI::ApplyTo(QAction *pAction) const
{
    pAction->setEnabled(m_bEnabled);
    if (m_check) {
        pAction->setCheckable(true);
        pAction->setChecked(*m_check);
    }
    if (m_text && pAction->text() != *m_text)
        pAction->setText(*m_text);
}
