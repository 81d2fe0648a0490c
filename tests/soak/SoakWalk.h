#pragma once

// The random-edit soak: a seeded walk of user actions on real document windows, offscreen,
// through the widgets themselves (clicks and keys where a user would use them, the command
// routing where a menu would), with every invariant of SoakChecks checked after each step.

#include "GuiTestKit.h"
#include "SoakChecks.h"
#include "SoakLog.h"
#include "TreeItemRef.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

class CChildFrame;
class CPellixDoc;
class CPellixGridView;
class CPellixTreeView;
class CView;
class QWidget;

class SoakWalk : public PellixTest
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens each of `documents` as a file of the test, in a window of its own, and walks nSteps
    // steps from nSeed in their windows; stops at the first step after which a check fails,
    // printing the seed and the last steps.
    void Walk(const std::vector<std::string> &documents, std::uint64_t nSeed, int nSteps);

    // The checks of every step; empty when all hold.
    SoakProblems CheckAll();

private:
    // A document of the walk.
    struct SoakDocument {
        CPellixDoc *pDoc = nullptr;
        QString path;
        // What the document holds when it is not modified: the writer's bytes at open and save.
        std::string baseline;
        // Set by a step that saved it; the step's checks then include the file.
        bool bSaved = false;
        // The file was written by the program (it is not the walk's own first text).
        bool bWritten = false;
        // Its history held steps after the last step.
        bool bHadSteps = false;
    };
    using Action = void (SoakWalk::*)();
    struct WeightedAction {
        int nWeight;
        Action fnAction;
    };

    void RunStep(int nStep);
    void RunWeighted(const WeightedAction *pActions, std::size_t nCount);
    void CheckDocument(SoakDocument &doc, SoakProblems &problems);
    void AfterSave();
    // The document the user works in: the one of the active window.
    SoakDocument &Doc() { return m_docs[m_nDoc]; }

    // Choices.
    int Pick(int nCount);
    bool Chance(int nPercent);
    template <typename T> const T &PickFrom(const std::vector<T> &choices)
    {
        return choices[static_cast<std::size_t>(Pick(static_cast<int>(choices.size())))];
    }
    QString RandomName();
    QString RandomValue();
    QString RandomText();
    void Note(const std::string &text);

    // Windows and panes. The active frame is the window the user works in.
    static std::vector<CChildFrame *> FramesOf(const CPellixDoc *pDoc);
    std::vector<CChildFrame *> Frames() { return FramesOf(Doc().pDoc); }
    CChildFrame *ActiveFrame();
    void Activate(CChildFrame *pFrame);
    // Makes pPane of pFrame the pane the keys and commands go to, as a click into it does.
    void FocusPane(CChildFrame *pFrame, CView *pPane);
    CPellixTreeView *UseTree();
    CPellixGridView *UseGrid();
    int ElementCount() const;
    // The items of the tree that are on screen, in order.
    std::vector<CTreeItemRef> VisibleItems(CPellixTreeView *pTree) const;
    // A random item of those the tree has made, made visible as a user would (parents opened,
    // scrolled to).
    CTreeItemRef ShowRandomItem(CPellixTreeView *pTree);
    void ClickItem(CPellixTreeView *pTree, const CTreeItemRef &item);
    // A command and its name in the step list.
    using NamedCommand = std::pair<int, const char *>;
    // Runs one of `commands` as its menu entry does.
    void RunOneOf(const std::vector<NamedCommand> &commands);

    // The actions.
    void SelectByClick();
    void TreeKeys();
    void InsertElement();
    void RenameByLabel();
    void DeleteItem();
    void ClipboardCommand();
    void DragItem();
    void EditCell();
    void InsertRow();
    void TypeInTextPane();
    void SortByHeader();
    void FindOrReplace();
    void UndoRedo();
    void WindowCommand();
    void SwitchDocument();
    void Save();
    void CloseAndReopen();

    // Cell editing (SoakWalkCells.cpp).
    bool OpenCellEditor(CPellixGridView *pGrid, int nItem, int nPos);
    void TypeIntoTextEditor(CPellixGridView *pGrid);
    void ChooseInComboEditor(CPellixGridView *pGrid);
    void EndCellEditor(CPellixGridView *pGrid);

    std::mt19937_64 m_random;
    std::unique_ptr<CSoakLog> m_pLog;
    std::vector<SoakDocument> m_docs;
    std::size_t m_nDoc = 0;
    // PELLIX_SOAK_TRACE: print each step as it ends.
    bool m_bTrace = false;
};

// Types strText into pWidget key by key, as a keyboard would; characters beyond ASCII, which
// have no key of their own, arrive as key events carrying the text.
void TypeText(QWidget *pWidget, const QString &strText);

// The steps a soak run takes and its seed: PELLIX_SOAK_STEPS and PELLIX_SOAK_SEED when set,
// else the fixed ones for CI.
int SoakSteps(int nDefault);
std::uint64_t SoakSeed(std::uint64_t nDefault);
