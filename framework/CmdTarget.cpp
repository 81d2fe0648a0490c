#include "CmdTarget.h"

#include <algorithm>

#include "CmdUI.h"

CCmdTarget::~CCmdTarget() = default;

void CCmdTarget::OnCommand(int nID, std::function<void()> fnHandler)
{
    m_commandEntries.push_back({nID, nID, [fn = std::move(fnHandler)](int) { fn(); }, {}});
}

void CCmdTarget::OnCommandRange(int nFirst, int nLast, std::function<void(int)> fnHandler)
{
    m_commandEntries.push_back({nFirst, nLast, std::move(fnHandler), {}});
}

void CCmdTarget::OnUpdateCommandUI(int nID, std::function<void(CCmdUI *)> fnHandler)
{
    m_updateEntries.push_back({nID, nID, {}, std::move(fnHandler)});
}

void CCmdTarget::OnUpdateCommandUIRange(int nFirst, int nLast,
                                        std::function<void(CCmdUI *)> fnHandler)
{
    m_updateEntries.push_back({nFirst, nLast, {}, std::move(fnHandler)});
}

const CCmdTarget::Entry *CCmdTarget::FindEntry(const std::vector<Entry> &entries, int nID) const
{
    // The newest registration wins.
    const auto found = std::find_if(entries.rbegin(), entries.rend(), [nID](const Entry &entry) {
        return nID >= entry.nFirst && nID <= entry.nLast;
    });
    return found == entries.rend() ? nullptr : &*found;
}

bool CCmdTarget::HasCommandHandler(int nID) const
{
    return FindEntry(m_commandEntries, nID) != nullptr;
}

bool CCmdTarget::OnCmdMsg(int nID, CCmdUI *pUpdate)
{
    if (pUpdate == nullptr) {
        const Entry *pEntry = FindEntry(m_commandEntries, nID);
        if (pEntry == nullptr)
            return false;
        // A handler may register further handlers (or close this target), so it runs from a copy.
        const std::function<void(int)> fnCommand = pEntry->fnCommand;
        fnCommand(nID);
        return true;
    }
    const bool bHasCommand = HasCommandHandler(nID);
    pUpdate->m_bCommandHandlerSeen = pUpdate->m_bCommandHandlerSeen || bHasCommand;
    if (pUpdate->m_bProbing)
        return bHasCommand;
    const Entry *pEntry = FindEntry(m_updateEntries, nID);
    if (pEntry == nullptr)
        return false;
    pEntry->fnUpdate(pUpdate);
    return true;
}

bool RouteCommand(const CmdRoute &route, int nID)
{
    for (CCmdTarget *pTarget : route) {
        if (pTarget != nullptr && pTarget->OnCmdMsg(nID, nullptr))
            return true;
    }
    return false;
}

void RouteUpdateState(const CmdRoute &route, CCmdUI &cmdUI)
{
    for (CCmdTarget *pTarget : route) {
        if (pTarget != nullptr && pTarget->OnCmdMsg(cmdUI.m_nID, &cmdUI))
            break;
    }
    if (cmdUI.m_bEnableChanged)
        return;
    if (!cmdUI.m_bCommandHandlerSeen) {
        cmdUI.m_bProbing = true;
        for (CCmdTarget *pTarget : route) {
            if (pTarget != nullptr && pTarget->OnCmdMsg(cmdUI.m_nID, &cmdUI))
                break;
        }
        cmdUI.m_bProbing = false;
    }
    cmdUI.m_bEnabled = cmdUI.m_bCommandHandlerSeen;
}
