#include "CmdTarget.h"
#include "CmdUI.h"
#include "CommandRouter.h"

#include <QAction>
#include <QMenu>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace
{
constexpr int kCopy = 57634;
constexpr int kPaste = 57637;
constexpr int kUnknown = 32837;

// A target that hands every command it does not answer itself to a helper, the way a pane
// passes edit commands to an open cell editor.
class CForwardingTarget : public CCmdTarget
{
public:
    explicit CForwardingTarget(CCmdTarget *pHelper) : m_pHelper(pHelper) {}
    bool OnCmdMsg(int nID, CCmdUI *pUpdate) override
    {
        return m_pHelper->OnCmdMsg(nID, pUpdate) || CCmdTarget::OnCmdMsg(nID, pUpdate);
    }

private:
    CCmdTarget *m_pHelper;
};

CCmdUI StateOf(const CmdRoute &route, int nID)
{
    CCmdUI cmdUI(nID);
    RouteUpdateState(route, cmdUI);
    return cmdUI;
}
} // namespace

TEST(CommandRoute, FirstTargetWithCommandHandlerRunsIt)
{
    CCmdTarget view, doc, app;
    QStringList ran;
    view.OnCommand(kCopy, [&] { ran << "view"; });
    doc.OnCommand(kCopy, [&] { ran << "doc"; });
    doc.OnCommand(kPaste, [&] { ran << "doc paste"; });

    EXPECT_TRUE(RouteCommand({&view, &doc, &app}, kCopy));
    EXPECT_TRUE(RouteCommand({&view, &doc, &app}, kPaste));
    EXPECT_FALSE(RouteCommand({&view, &doc, &app}, kUnknown));
    EXPECT_EQ(ran, QStringList({"view", "doc paste"}));
}

TEST(CommandRoute, UpdateHandlerLaterOnTheRouteBeatsEarlierCommandHandler)
{
    CCmdTarget view, doc;
    view.OnCommand(kCopy, [] {});
    doc.OnUpdateCommandUI(kCopy, [](CCmdUI *pCmdUI) { pCmdUI->Enable(false); });
    EXPECT_FALSE(StateOf({&view, &doc}, kCopy).IsEnabled());

    // The first update handler on the route decides; later ones are not asked.
    int nLaterCalls = 0;
    CCmdTarget app;
    app.OnUpdateCommandUI(kCopy, [&](CCmdUI *pCmdUI) {
        ++nLaterCalls;
        pCmdUI->Enable(true);
    });
    EXPECT_FALSE(StateOf({&view, &doc, &app}, kCopy).IsEnabled());
    EXPECT_EQ(nLaterCalls, 0);
}

TEST(CommandRoute, WithoutUpdateHandlerEnabledExactlyWhenSomeTargetHandlesIt)
{
    CCmdTarget view, doc, app;
    app.OnCommand(kPaste, [] {});
    EXPECT_TRUE(StateOf({&view, &doc, &app}, kPaste).IsEnabled());
    EXPECT_FALSE(StateOf({&view, &doc, &app}, kUnknown).IsEnabled());
    EXPECT_FALSE(StateOf({}, kPaste).IsEnabled());
}

TEST(CommandRoute, UpdateHandlerThatOnlyChecksLeavesEnablingToTheHandlers)
{
    CCmdTarget frame, app;
    frame.OnUpdateCommandUI(kCopy, [](CCmdUI *pCmdUI) { pCmdUI->SetCheck(true); });
    const CCmdUI without = StateOf({&frame, &app}, kCopy);
    EXPECT_FALSE(without.IsEnabled());
    EXPECT_EQ(without.GetCheck(), true);

    app.OnCommand(kCopy, [] {});
    const CCmdUI with = StateOf({&frame, &app}, kCopy);
    EXPECT_TRUE(with.IsEnabled());
    EXPECT_EQ(with.GetCheck(), true);
}

TEST(CommandRoute, RangesPassTheChosenIdAndNewestRegistrationWins)
{
    CCmdTarget pane;
    std::vector<int> ran;
    pane.OnCommandRange(32771, 32788, [&](int nID) { ran.push_back(nID); });
    pane.OnUpdateCommandUIRange(32771, 32788,
                                [](CCmdUI *pCmdUI) { pCmdUI->Enable(pCmdUI->m_nID % 2 == 0); });
    EXPECT_TRUE(RouteCommand({&pane}, 32771));
    EXPECT_TRUE(RouteCommand({&pane}, 32788));
    EXPECT_FALSE(RouteCommand({&pane}, 32789));
    EXPECT_EQ(ran, (std::vector<int>{32771, 32788}));
    EXPECT_FALSE(StateOf({&pane}, 32777).IsEnabled());
    EXPECT_TRUE(StateOf({&pane}, 32778).IsEnabled());

    // A later registration (a derived class) overrides one id of the range.
    pane.OnCommand(32778, [&] { ran.push_back(-1); });
    pane.OnUpdateCommandUI(32777, [](CCmdUI *pCmdUI) { pCmdUI->Enable(true); });
    RouteCommand({&pane}, 32778);
    EXPECT_EQ(ran.back(), -1);
    EXPECT_TRUE(StateOf({&pane}, 32777).IsEnabled());
}

TEST(CommandRoute, ForwardingTargetAnswersForItsHelper)
{
    CCmdTarget editor, doc;
    int nCopies = 0;
    editor.OnCommand(kCopy, [&] { ++nCopies; });
    doc.OnUpdateCommandUI(kCopy, [](CCmdUI *pCmdUI) { pCmdUI->Enable(false); });
    CForwardingTarget pane(&editor);
    EXPECT_TRUE(StateOf({&pane, &doc}, kCopy).IsEnabled() == false);

    editor.OnUpdateCommandUI(kCopy, [](CCmdUI *pCmdUI) { pCmdUI->Enable(true); });
    EXPECT_TRUE(StateOf({&pane, &doc}, kCopy).IsEnabled());
    EXPECT_TRUE(RouteCommand({&pane, &doc}, kCopy));
    EXPECT_EQ(nCopies, 1);
}

TEST(CommandRoute, HandlerMayRegisterMoreHandlersWhileRunning)
{
    CCmdTarget target;
    int nRuns = 0;
    target.OnCommand(kCopy, [&] {
        ++nRuns;
        for (int i = 0; i < 64; ++i)
            target.OnCommand(40000 + i, [] {});
    });
    EXPECT_TRUE(RouteCommand({&target}, kCopy));
    EXPECT_EQ(nRuns, 1);
    EXPECT_TRUE(target.HasCommandHandler(40063));
}

class CommandRouterTest : public ::testing::Test
{
protected:
    CommandRouterTest() : router(&window, [this] { return route; }) { router.SetIdleInterval(0); }

    QWidget window;
    CmdRoute route;
    CCommandRouter router;
};

TEST_F(CommandRouterTest, ActionsFollowTheRouteAndRunTheirHandler)
{
    CCmdTarget pane, app;
    int nCopies = 0;
    pane.OnCommand(kCopy, [&] { ++nCopies; });
    QAction *pCopy = router.Action(kCopy);
    EXPECT_EQ(router.Action(kCopy), pCopy);
    EXPECT_EQ(pCopy->parent(), &window);
    EXPECT_TRUE(window.actions().contains(pCopy));
    EXPECT_FALSE(pCopy->isEnabled());

    route = {&pane, &app};
    router.Update();
    EXPECT_TRUE(pCopy->isEnabled());
    pCopy->trigger();
    EXPECT_EQ(nCopies, 1);

    // The pane left the route (another pane got the focus): nobody handles Copy now.
    route = {&app};
    router.Update();
    EXPECT_FALSE(pCopy->isEnabled());
    EXPECT_FALSE(router.Execute(kCopy));
    EXPECT_EQ(nCopies, 1);
}

TEST_F(CommandRouterTest, ExecuteChecksTheStateEvenWhenTheActionIsStale)
{
    CCmdTarget pane;
    int nRuns = 0;
    pane.OnCommand(kPaste, [&] { ++nRuns; });
    pane.OnUpdateCommandUI(kPaste, [](CCmdUI *pCmdUI) { pCmdUI->Enable(false); });
    route = {&pane};
    router.Action(kPaste)->setEnabled(true);
    EXPECT_FALSE(router.Execute(kPaste));
    EXPECT_EQ(nRuns, 0);
}

TEST_F(CommandRouterTest, MenuUpdatesBeforeItShowsAndAppliesCheckAndText)
{
    CCmdTarget frame;
    bool bVisible = true;
    frame.OnCommand(59393, [&] { bVisible = !bVisible; });
    frame.OnUpdateCommandUI(59393, [&](CCmdUI *pCmdUI) {
        pCmdUI->SetCheck(bVisible);
        pCmdUI->SetText(bVisible ? "Hide bar" : "Show bar");
    });
    route = {&frame};
    QMenu menu(&window);
    router.WatchMenu(&menu);
    QAction *pAction = router.Action(59393);
    menu.addAction(pAction);

    emit menu.aboutToShow();
    EXPECT_TRUE(pAction->isEnabled());
    EXPECT_TRUE(pAction->isCheckable());
    EXPECT_TRUE(pAction->isChecked());
    EXPECT_EQ(pAction->text(), "Hide bar");

    pAction->trigger();
    emit menu.aboutToShow();
    EXPECT_FALSE(pAction->isChecked());
    EXPECT_EQ(pAction->text(), "Show bar");
}

TEST_F(CommandRouterTest, PromptGivesStatusTextAndToolTip)
{
    router.SetPromptProvider([](int nID) {
        return nID == 32840 ? QStringLiteral("Open XML File From URL\nOpen URL")
                            : QStringLiteral("Expand");
    });
    QAction *pOpenUrl = router.Action(32840);
    QAction *pExpand = router.Action(32795);
    pExpand->setText("E&xpand");
    EXPECT_EQ(pOpenUrl->statusTip(), "Open XML File From URL");
    EXPECT_EQ(pOpenUrl->toolTip(), "Open URL");
    EXPECT_EQ(pExpand->statusTip(), "Expand");
    EXPECT_EQ(pExpand->toolTip(), "Expand");
}

TEST_F(CommandRouterTest, IdleTimerUpdatesToolBarStates)
{
    CCmdTarget app;
    app.OnCommand(kCopy, [] {});
    route = {&app};
    QAction *pCopy = router.Action(kCopy);
    router.SetIdleInterval(10);
    EXPECT_TRUE(QTest::qWaitFor([&] { return pCopy->isEnabled(); }, 2000));
}
