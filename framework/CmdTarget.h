#pragma once

#include <functional>
#include <vector>

class CCmdUI;

// A receiver of commands. Each target registers handlers by command id (the newest
// registration for an id wins, so a derived class overrides what its base registered) and
// the router offers commands to the targets of the current route in order.
class CCmdTarget
{
public:
    CCmdTarget() = default;
    virtual ~CCmdTarget();
    CCmdTarget(const CCmdTarget &) = delete;
    CCmdTarget &operator=(const CCmdTarget &) = delete;

    void OnCommand(int nID, std::function<void()> fnHandler);
    // `fnHandler` receives the id that was chosen, nFirst..nLast inclusive.
    void OnCommandRange(int nFirst, int nLast, std::function<void(int)> fnHandler);
    void OnUpdateCommandUI(int nID, std::function<void(CCmdUI *)> fnHandler);
    // The handler reads the id from CCmdUI::m_nID.
    void OnUpdateCommandUIRange(int nFirst, int nLast, std::function<void(CCmdUI *)> fnHandler);

    // pUpdate null: runs this target's command handler for nID; returns true when one ran.
    // pUpdate set: runs this target's update handler for nID; returns true when one ran (the
    // route then stops). A target that forwards commands to a helper object overrides this
    // and passes both arguments on unchanged.
    virtual bool OnCmdMsg(int nID, CCmdUI *pUpdate);

    bool HasCommandHandler(int nID) const;

private:
    struct Entry {
        int nFirst;
        int nLast;
        std::function<void(int)> fnCommand;
        std::function<void(CCmdUI *)> fnUpdate;
    };
    const Entry *FindEntry(const std::vector<Entry> &entries, int nID) const;

    std::vector<Entry> m_commandEntries;
    std::vector<Entry> m_updateEntries;
};

using CmdRoute = std::vector<CCmdTarget *>;

// Runs the first command handler for nID along `route`; returns false when none exists.
bool RouteCommand(const CmdRoute &route, int nID);

// Fills `cmdUI` along `route`: the first target with an update handler decides; when no
// handler called Enable, the command is enabled exactly when some target has a command handler.
void RouteUpdateState(const CmdRoute &route, CCmdUI &cmdUI);
