#pragma once

#include <QString>
#include <optional>
#include <vector>

class QAction;
class CCmdTarget;

// What the update handlers decided for one command id. The router creates one per update
// pass, offers it along the command route and then applies it to the command's action.
class CCmdUI
{
public:
    explicit CCmdUI(int nID) : m_nID(nID) {}

    void Enable(bool bOn = true);
    void SetCheck(bool bCheck = true);
    void SetText(const QString &strText);

    bool IsEnabled() const { return m_bEnabled; }
    // True once a handler called Enable; otherwise the router decides from the command handlers.
    bool IsEnableChanged() const { return m_bEnableChanged; }
    // Empty when no handler called SetCheck (the action's checkable state is then left alone).
    std::optional<bool> GetCheck() const { return m_check; }
    // Empty when no handler called SetText.
    const std::optional<QString> &GetText() const { return m_text; }

    // Writes the decided state into `pAction`; what no handler touched stays as it is.
    void ApplyTo(QAction *pAction) const;

    const int m_nID;

private:
    friend class CCmdTarget;
    friend void RouteUpdateState(const std::vector<CCmdTarget *> &route, CCmdUI &cmdUI);

    bool m_bEnabled = true;
    bool m_bEnableChanged = false;
    std::optional<bool> m_check;
    std::optional<QString> m_text;
    // Routing state: in the probe pass targets only report whether they have a command handler.
    bool m_bProbing = false;
    bool m_bCommandHandlerSeen = false;
};
