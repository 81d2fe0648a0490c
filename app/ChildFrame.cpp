#include "ChildFrame.h"

#include "CmdUI.h"

#include "PaneWiring.h"
#include "PellixDoc.h"
#include "PellixGridView.h"
#include "PellixTreeView.h"
#include "PellixView.h"
#include "Resource.h"
#include "SplitterKeyboard.h"
#include "ValidateCommand.h"

#include <QSplitter>
#include <algorithm>

namespace
{
// The size asked for a pane that takes the rest of its splitter: anything above 0, which
// would start the pane collapsed.
constexpr int kRestOfSplitter = 1;
} // namespace

CChildFrame::CChildFrame(QWidget *pParent) : CMDIChildWnd(pParent)
{
    connect(this, &QMdiSubWindow::windowStateChanged, this,
            [this](Qt::WindowStates oldState, Qt::WindowStates newState) {
                if ((newState & Qt::WindowActive) && !(oldState & Qt::WindowActive))
                    MakeContextActive();
            });
    OnCommand(ID_WINDOW_SPLIT, [this] {
        if (m_pSplitKeys != nullptr)
            m_pSplitKeys->Start();
    });
    OnUpdateCommandUI(ID_WINDOW_SPLIT,
                      [this](CCmdUI *pCmdUI) { pCmdUI->Enable(m_pSplitKeys != nullptr); });
    OnCommand(ID_EDIT_VALIDATE, [this] { RunValidateCommand(this); });
    OnUpdateCommandUI(ID_EDIT_VALIDATE,
                      [this](CCmdUI *pCmdUI) { pCmdUI->Enable(CanValidate(this)); });
}

CChildFrame::~CChildFrame() = default;

int CChildFrame::GridPaneIdealHeight(int cy)
{
    constexpr int kMargin = 70;
    constexpr int kMinimum = 20;
    constexpr int kExtra = 100;
    return std::max(cy - kMargin, kMinimum) + kExtra;
}

QWidget *CChildFrame::OnCreateClient(const QSize &sizeClient)
{
    CDocument *pDoc = GetActiveDocument();
    m_wndSplitter = new QSplitter(Qt::Horizontal, this);
    m_pTreeView = new CPellixTreeView(pDoc, m_wndSplitter);
    m_wndSplitter2 = new QSplitter(Qt::Vertical, m_wndSplitter);
    m_wndSplitter2->setFrameShape(QFrame::Box);
    m_pGridView = new CPellixGridView(pDoc, m_wndSplitter2);
    m_pTextView = new CPellixView(pDoc, m_wndSplitter2);

    // The tree keeps its width and the grid its height up to its ideal one; the text pane
    // takes what is left (at least its minimum), as the last pane of a splitter does.
    m_wndSplitter->setStretchFactor(0, 0);
    m_wndSplitter->setStretchFactor(1, 1);
    m_wndSplitter->setSizes({kTreePaneWidth, kRestOfSplitter});
    m_wndSplitter2->setStretchFactor(0, 0);
    m_wndSplitter2->setStretchFactor(1, 1);
    m_wndSplitter2->setSizes({GridPaneIdealHeight(sizeClient.height()), kRestOfSplitter});

    m_pSplitKeys = new CSplitterKeyboard(m_wndSplitter, m_wndSplitter2, this);
    m_pEditContext =
        WirePanes(qobject_cast<CPellixDoc *>(pDoc), this, m_pTreeView, m_pGridView, m_pTextView);
    MakeContextActive();
    return m_wndSplitter;
}

void CChildFrame::MakeContextActive()
{
    if (auto *pDoc = qobject_cast<CPellixDoc *>(GetActiveDocument()); pDoc && m_pEditContext)
        pDoc->SetActiveEditContext(m_pEditContext);
}
