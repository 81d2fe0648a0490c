// The soak's walk and its tree, clipboard, find, undo, window and file actions.

#include "SoakWalk.h"

#include "ChildFrame.h"
#include "CommandRouter.h"
#include "FindItemsDlg.h"
#include "PellixDoc.h"
#include "PellixGridView.h"
#include "PellixTreeView.h"
#include "PellixView.h"
#include "Resource.h"
#include "XmlWriter.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <cstdio>
#include <iterator>

namespace
{

// Past this many elements the walk deletes more and copies nothing, so each step's checks stay
// cheap.
constexpr int kMaxElements = 250;
constexpr int kMinElements = 12;
constexpr std::size_t kMaxFrames = 3;

const std::vector<QString> kGoodNames = {
    QStringLiteral("item"),  QStringLiteral("book"),   QStringLiteral("p:q"),
    QStringLiteral("dc:x"),  QStringLiteral("_u"),     QStringLiteral("a-b.c"),
    QStringLiteral("ünï"),   QStringLiteral("日本"),   QStringLiteral("A1"),
    QStringLiteral("title"), QStringLiteral("xmlish"), QStringLiteral("newElement")};
// Names refused somewhere: no XML names at all, names a namespace reader cannot take, and the
// target only the declaration may have.
const std::vector<QString> kBadNames = {QString(),
                                        QStringLiteral("1x"),
                                        QStringLiteral("a b"),
                                        QStringLiteral("p:"),
                                        QStringLiteral(":a"),
                                        QStringLiteral("a:b:c"),
                                        QStringLiteral("-a"),
                                        QStringLiteral("x<y"),
                                        QStringLiteral("xml"),
                                        QStringLiteral("XmL")};
const std::vector<QString> kValues = {QString(),
                                      QStringLiteral("v"),
                                      QStringLiteral("two words"),
                                      QStringLiteral("  padded  "),
                                      QStringLiteral("x<y&z>w"),
                                      QStringLiteral("\"q' "),
                                      QStringLiteral("a--b"),
                                      QStringLiteral("end-"),
                                      QStringLiteral("p?>q"),
                                      QStringLiteral("c]]>d"),
                                      QStringLiteral("€üß"),
                                      QStringLiteral("   "),
                                      QStringLiteral("version=\"1.0\""),
                                      QStringLiteral("version=\"2\""),
                                      QStringLiteral("12")};

// The offscreen platform says so whenever a drag grabs the mouse or a window is raised.
QtMessageHandler g_previousHandler = nullptr;

void QuietPlatformNotes(QtMsgType type, const QMessageLogContext &context, const QString &strText)
{
    if (strText.startsWith(QLatin1String("This plugin does not support")))
        return;
    if (g_previousHandler != nullptr)
        g_previousHandler(type, context, strText);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, strText)));
}

std::string Quoted(const QString &strText)
{
    return "\"" + strText.toStdString() + "\"";
}

} // namespace

void TypeText(QWidget *pWidget, const QString &strText)
{
    for (const QChar ch : strText) {
        if (ch.unicode() < 0x80) {
            QTest::keyClick(pWidget, ch.toLatin1());
            continue;
        }
        for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent event(type, Qt::Key_unknown, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(pWidget, &event);
        }
    }
}

int SoakSteps(int nDefault)
{
    bool bOk = false;
    const int nSteps = qEnvironmentVariableIntValue("PELLIX_SOAK_STEPS", &bOk);
    return bOk && nSteps > 0 ? nSteps : nDefault;
}

std::uint64_t SoakSeed(std::uint64_t nDefault)
{
    bool bOk = false;
    const qulonglong nSeed = qgetenv("PELLIX_SOAK_SEED").toULongLong(&bOk);
    return bOk ? nSeed : nDefault;
}

void SoakWalk::SetUp()
{
    g_previousHandler = qInstallMessageHandler(QuietPlatformNotes);
    ASSERT_TRUE(StartApp());
    Main().activateWindow();
    QApplication::processEvents();
}

void SoakWalk::TearDown()
{
    qInstallMessageHandler(g_previousHandler);
    PellixTest::TearDown();
}

void SoakWalk::Walk(const std::vector<std::string> &documents, std::uint64_t nSeed, int nSteps)
{
    m_random.seed(nSeed);
    m_bTrace = qEnvironmentVariableIsSet("PELLIX_SOAK_TRACE");
    m_pLog = std::make_unique<CSoakLog>(nSeed, nSteps);
    for (std::size_t n = 0; n < documents.size(); ++n) {
        SoakDocument doc;
        doc.path = WriteFile("soak" + std::to_string(n + 1) + ".xml", documents[n]);
        doc.pDoc = OpenDoc(doc.path);
        ASSERT_NE(doc.pDoc, nullptr);
        doc.baseline = WriteXMLString(doc.pDoc->GetXMLDocument());
        m_docs.push_back(doc);
    }
    m_nDoc = m_docs.size() - 1;
    m_messages.clear();
    for (int nStep = 1; nStep <= nSteps; ++nStep) {
        RunStep(nStep);
        const SoakProblems problems = CheckAll();
        if (!problems.empty() || HasFailure()) {
            std::string text;
            for (const std::string &problem : problems)
                text += "  " + problem + "\n";
            ADD_FAILURE() << "after step " << nStep << ":\n" << text << m_pLog->Dump();
            return;
        }
    }
    std::printf("soak: seed %llu, %d steps, %d elements at the end\n",
                static_cast<unsigned long long>(nSeed), nSteps, ElementCount());
}

void SoakWalk::RunStep(int nStep)
{
    static const WeightedAction kActions[] = {
        {14, &SoakWalk::SelectByClick}, {4, &SoakWalk::TreeKeys},
        {6, &SoakWalk::InsertElement},  {5, &SoakWalk::RenameByLabel},
        {4, &SoakWalk::DeleteItem},     {7, &SoakWalk::ClipboardCommand},
        {4, &SoakWalk::DragItem},       {16, &SoakWalk::EditCell},
        {4, &SoakWalk::InsertRow},      {7, &SoakWalk::TypeInTextPane},
        {2, &SoakWalk::SortByHeader},   {4, &SoakWalk::FindOrReplace},
        {8, &SoakWalk::UndoRedo},       {3, &SoakWalk::WindowCommand},
        {3, &SoakWalk::Save},           {2, &SoakWalk::CloseAndReopen},
        {2, &SoakWalk::SwitchDocument},
    };
    m_pLog->BeginStep(nStep);
    for (SoakDocument &doc : m_docs)
        doc.bSaved = false;
    // The document stays between a dozen elements and a few hundred: deletes win when it is
    // big, inserts when it is small.
    const int nElements = ElementCount();
    if (nElements > kMaxElements && Chance(50))
        DeleteItem();
    else if (nElements < kMinElements && Chance(30))
        InsertElement();
    else
        RunWeighted(kActions, std::size(kActions));
    // What the event loop does between two user actions: queued calls, deferred deletions.
    QApplication::processEvents();
    FlushDeletes();
    for (const QString &strMessage : m_messages.messages())
        Note(" [message: " + strMessage.section(QLatin1Char('\n'), 0, 0).toStdString() + "]");
    m_messages.clear();
    for (const QString &strPrompt : m_script.prompts)
        Note(" [prompt: " + strPrompt.toStdString() + "]");
    m_script.prompts.clear();
    if (m_bTrace)
        std::printf("%s\n", m_pLog->Current().c_str());
}

void SoakWalk::RunWeighted(const WeightedAction *pActions, std::size_t nCount)
{
    int nTotal = 0;
    for (std::size_t n = 0; n < nCount; ++n)
        nTotal += pActions[n].nWeight;
    int nPick = Pick(nTotal);
    for (std::size_t n = 0; n < nCount; ++n) {
        if (nPick < pActions[n].nWeight) {
            (this->*pActions[n].fnAction)();
            return;
        }
        nPick -= pActions[n].nWeight;
    }
}

SoakProblems SoakWalk::CheckAll()
{
    SoakProblems problems;
    if (QWidget *pModal = QApplication::activeModalWidget())
        problems.push_back("a modal window is open: " + pModal->windowTitle().toStdString());
    std::vector<const CPellixTreeView *> panes;
    for (SoakDocument &doc : m_docs) {
        CheckDocument(doc, problems);
        for (CChildFrame *pFrame : FramesOf(doc.pDoc))
            panes.push_back(pFrame->GetTreePane());
    }
    CheckClipboardMark(panes, problems);
    return problems;
}

void SoakWalk::CheckDocument(SoakDocument &doc, SoakProblems &problems)
{
    const dom::Node document = doc.pDoc->GetXMLDocument();
    for (CChildFrame *pFrame : FramesOf(doc.pDoc)) {
        CheckTreeMatchesDom(pFrame->GetTreePane(), document, problems);
        CheckTreeHandles(pFrame->GetTreePane(), document, problems);
        CheckGridRows(pFrame, document, problems);
    }
    CheckModifiedFlag(doc.pDoc, doc.baseline, problems);
    // Only a load starts the history afresh: a replay that found the DOM changed behind the
    // editor's back would forget every step.
    const std::size_t nSteps = doc.pDoc->GetHistory()->GetStepCount();
    if (doc.bHadSteps && nSteps == 0)
        problems.push_back("the undo history of " + doc.path.toStdString() + " forgot its steps");
    doc.bHadSteps = nSteps > 0;
    if (doc.bSaved)
        CheckSavedFile(document, doc.path.toStdString(), problems);
}

int SoakWalk::Pick(int nCount)
{
    return nCount <= 1 ? 0 : static_cast<int>(m_random() % static_cast<std::uint64_t>(nCount));
}

bool SoakWalk::Chance(int nPercent)
{
    return Pick(100) < nPercent;
}

QString SoakWalk::RandomName()
{
    if (Chance(75))
        return PickFrom(kGoodNames);
    return PickFrom(kBadNames);
}

QString SoakWalk::RandomValue()
{
    if (Chance(70))
        return PickFrom(kValues);
    QString strValue;
    for (int n = Pick(8) + 1; n > 0; --n)
        strValue += QChar(u'a' + Pick(26));
    return strValue;
}

QString SoakWalk::RandomText()
{
    return Chance(30) ? RandomName() : RandomValue();
}

void SoakWalk::Note(const std::string &text)
{
    m_pLog->Note(text);
}

std::vector<CChildFrame *> SoakWalk::FramesOf(const CPellixDoc *pDoc)
{
    std::vector<CChildFrame *> frames;
    for (CMDIChildWnd *pFrame : pDoc->GetFrames()) {
        if (auto *pChild = qobject_cast<CChildFrame *>(pFrame))
            frames.push_back(pChild);
    }
    return frames;
}

CChildFrame *SoakWalk::ActiveFrame()
{
    auto *pActive = qobject_cast<CChildFrame *>(Main().MDIGetActive());
    const std::vector<CChildFrame *> frames = Frames();
    if (pActive != nullptr && std::find(frames.begin(), frames.end(), pActive) != frames.end())
        return pActive;
    // The user clicks into a window of the document before working in it.
    Activate(frames.front());
    return frames.front();
}

void SoakWalk::Activate(CChildFrame *pFrame)
{
    Main().MDIActivate(pFrame);
}

void SoakWalk::FocusPane(CChildFrame *pFrame, CView *pPane)
{
    // A click into a pane brings the main window back in front of the find dialog.
    if (QApplication::activeWindow() != &Main()) {
        Main().activateWindow();
        QApplication::processEvents();
    }
    pFrame->SetActiveView(pPane);
}

CPellixTreeView *SoakWalk::UseTree()
{
    CChildFrame *pFrame = ActiveFrame();
    FocusPane(pFrame, pFrame->GetTreePane());
    return pFrame->GetTreePane();
}

CPellixGridView *SoakWalk::UseGrid()
{
    CChildFrame *pFrame = ActiveFrame();
    FocusPane(pFrame, pFrame->GetGridPane());
    return pFrame->GetGridPane();
}

int SoakWalk::ElementCount() const
{
    int nCount = 0;
    std::vector<dom::Node> pending{m_docs[m_nDoc].pDoc->GetXMLDocument()};
    while (!pending.empty()) {
        const dom::Node node = pending.back();
        pending.pop_back();
        for (dom::Node child = node.firstChild(); child; child = child.nextSibling()) {
            if (child.nodeType() == dom::NODE_ELEMENT) {
                ++nCount;
                pending.push_back(child);
            }
        }
    }
    return nCount;
}

std::vector<CTreeItemRef> SoakWalk::VisibleItems(CPellixTreeView *pTree) const
{
    std::vector<CTreeItemRef> items;
    const QRect viewport = pTree->viewport()->rect();
    ForEachMadeItem(pTree->GetRootItem(), [&](const CTreeItemRef &item) {
        const QModelIndex index = pTree->IndexFromItem(item);
        if (viewport.contains(pTree->visualRect(index).center()))
            items.push_back(item);
        return pTree->isExpanded(index);
    });
    return items;
}

CTreeItemRef SoakWalk::ShowRandomItem(CPellixTreeView *pTree)
{
    std::vector<CTreeItemRef> items;
    ForEachMadeItem(pTree->GetRootItem(), [&items](const CTreeItemRef &item) {
        items.push_back(item);
        return true;
    });
    if (items.empty())
        return {};
    const CTreeItemRef item = PickFrom(items);
    // Opening the parents one by one, as a user clicks their expanders.
    std::vector<CTreeItemRef> parents;
    for (CTreeItemRef up = item.GetParent(); up; up = up.GetParent())
        parents.push_back(up);
    for (auto it = parents.rbegin(); it != parents.rend(); ++it)
        pTree->expand(pTree->IndexFromItem(*it));
    pTree->scrollTo(pTree->IndexFromItem(item));
    return item;
}

void SoakWalk::ClickItem(CPellixTreeView *pTree, const CTreeItemRef &item)
{
    // A click on the selected label starts a rename after the double-click time: the walk
    // renames through F2 instead, so that its steps do not depend on the clock.
    if (item == pTree->GetSelectedItem())
        return;
    const QRect rect = pTree->visualRect(pTree->IndexFromItem(item));
    QTest::mouseClick(pTree->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
}

void SoakWalk::RunOneOf(const std::vector<NamedCommand> &commands)
{
    const auto &[nID, name] = PickFrom(commands);
    Note(name);
    if (!Execute(nID))
        Note(" (disabled)");
}

void SoakWalk::SelectByClick()
{
    CPellixTreeView *pTree = UseTree();
    const CTreeItemRef item = ShowRandomItem(pTree);
    Note("click " + ItemPath(item));
    ClickItem(pTree, item);
    // Opening it makes the items of its children.
    if (Chance(30)) {
        Note(" and open it");
        pTree->expand(pTree->IndexFromItem(item));
    }
}

void SoakWalk::TreeKeys()
{
    static const std::vector<std::pair<Qt::Key, const char *>> kKeys = {
        {Qt::Key_Up, "Up"},       {Qt::Key_Down, "Down"}, {Qt::Key_Left, "Left"},
        {Qt::Key_Right, "Right"}, {Qt::Key_Home, "Home"}, {Qt::Key_End, "End"}};
    static const std::vector<NamedCommand> kCommands = {{ID_TREE_EXPAND, "Expand"},
                                                        {ID_TREE_CONTRACT, "Collapse"},
                                                        {ID_TREE_EXPANDALL, "Expand All"},
                                                        {ID_TREE_CONTRACTALL, "Collapse All"}};
    CPellixTreeView *pTree = UseTree();
    if (Chance(20)) {
        RunOneOf(kCommands);
        return;
    }
    const auto &[key, name] = PickFrom(kKeys);
    Note(std::string("tree key ") + name);
    QTest::keyClick(pTree, key);
}

void SoakWalk::InsertElement()
{
    static const std::vector<NamedCommand> kCommands = {
        {ID_INSERT_ELEMENT, "Insert Element"},
        {ID_INSERT_CHILDELEMENT, "Insert Child Element"},
        {ID_TREE_INSERTELEMENT, "popup Insert Element"},
        {ID_TREE_INSERTCHILDELEMENT, "popup Insert Child Element"}};
    UseTree();
    RunOneOf(kCommands);
}

void SoakWalk::RenameByLabel()
{
    CPellixTreeView *pTree = UseTree();
    if (Chance(50))
        ClickItem(pTree, ShowRandomItem(pTree));
    Note("F2 on " + ItemPath(pTree->GetSelectedItem()));
    QTest::keyClick(pTree, Qt::Key_F2);
    auto *pEditor = qobject_cast<QLineEdit *>(pTree->indexWidget(pTree->currentIndex()));
    if (pEditor == nullptr) {
        Note(" (no label editor)");
        return;
    }
    const QString strName = RandomName();
    QTest::keyClick(pEditor, Qt::Key_A, Qt::ControlModifier);
    if (strName.isEmpty())
        QTest::keyClick(pEditor, Qt::Key_Backspace);
    else
        TypeText(pEditor, strName);
    const bool bCancel = Chance(20);
    Note(", type " + Quoted(strName) + (bCancel ? ", Escape" : ", Enter"));
    QTest::keyClick(pEditor, bCancel ? Qt::Key_Escape : Qt::Key_Return);
}

void SoakWalk::DeleteItem()
{
    CPellixTreeView *pTree = UseTree();
    if (Chance(60))
        ClickItem(pTree, ShowRandomItem(pTree));
    const bool bKey = Chance(50);
    Note(std::string(bKey ? "Delete key on " : "popup Delete on ") +
         ItemPath(pTree->GetSelectedItem()));
    if (bKey)
        QTest::keyClick(pTree, Qt::Key_Delete);
    else
        Execute(ID_TREE_DELETE);
}

void SoakWalk::ClipboardCommand()
{
    // Each as the Edit menu, the popup or the shortcut gives it (Key_unknown: no shortcut).
    struct Clipboard {
        int nID;
        const char *name;
        Qt::Key key;
    };
    static const std::vector<Clipboard> kCommands = {
        {ID_EDIT_CUT, "Cut", Qt::Key_unknown},
        {ID_EDIT_COPY, "Copy", Qt::Key_unknown},
        {ID_EDIT_PASTE, "Paste", Qt::Key_unknown},
        {ID_EDIT_CUT, "Ctrl+X", Qt::Key_X},
        {ID_EDIT_COPY, "Ctrl+C", Qt::Key_C},
        {ID_EDIT_PASTE, "Ctrl+V", Qt::Key_V},
        {ID_TREE_CUT, "popup Cut", Qt::Key_unknown},
        {ID_TREE_COPY, "popup Copy", Qt::Key_unknown},
        {ID_TREE_PASTE, "popup Paste", Qt::Key_unknown}};
    CPellixTreeView *pTree = UseTree();
    if (Chance(60))
        ClickItem(pTree, ShowRandomItem(pTree));
    const Clipboard &command = PickFrom(kCommands);
    Note(std::string(command.name) + " on " + ItemPath(pTree->GetSelectedItem()));
    const bool bPaste = command.nID == ID_EDIT_PASTE || command.nID == ID_TREE_PASTE;
    if (bPaste && ElementCount() > kMaxElements) {
        Note(" (skipped: the document is big)");
        return;
    }
    if (command.key != Qt::Key_unknown)
        QTest::keyClick(pTree, command.key, Qt::ControlModifier);
    else
        Execute(command.nID);
}

void SoakWalk::DragItem()
{
    CPellixTreeView *pTree = UseTree();
    const std::vector<CTreeItemRef> items = VisibleItems(pTree);
    if (items.size() < 2)
        return;
    const CTreeItemRef source = PickFrom(items);
    const CTreeItemRef target = PickFrom(items);
    const bool bCopy = Chance(25) && ElementCount() <= kMaxElements;
    const bool bEscape = Chance(10);
    Note("drag " + ItemPath(source) + " onto " + ItemPath(target) + (bCopy ? " with Ctrl" : "") +
         (bEscape ? ", Escape" : ""));
    QWidget *pViewport = pTree->viewport();
    const QPoint from = pTree->visualRect(pTree->IndexFromItem(source)).center();
    const QPoint to = pTree->visualRect(pTree->IndexFromItem(target)).center();
    const QPoint away = from + QPoint(QApplication::startDragDistance() + 3, 0);
    const Qt::KeyboardModifiers modifiers = bCopy ? Qt::ControlModifier : Qt::NoModifier;
    const auto send = [&](QEvent::Type type, const QPoint &pt) {
        const bool bRelease = type == QEvent::MouseButtonRelease;
        QMouseEvent event(type, pt, pViewport->mapToGlobal(pt),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                          bRelease ? Qt::NoButton : Qt::LeftButton,
                          bRelease ? modifiers : Qt::NoModifier);
        QApplication::sendEvent(pViewport, &event);
    };
    send(QEvent::MouseButtonPress, from);
    send(QEvent::MouseMove, away);
    send(QEvent::MouseMove, to);
    if (bEscape)
        QTest::keyClick(pTree, Qt::Key_Escape);
    send(QEvent::MouseButtonRelease, to);
}

void SoakWalk::InsertRow()
{
    static const std::vector<NamedCommand> kCommands = {
        {ID_INSERT_ATTRIBUTE, "Insert Attribute"},
        {ID_INSERT_TEXT, "Insert Text"},
        {ID_INSERT_COMMENT, "Insert Comment"},
        {ID_INSERT_CDATASECTION, "Insert CDATA Section"},
        {ID_INSERT_PROCESSINSTRUCTION, "Insert Processing Instruction"}};
    if (Chance(50))
        UseGrid();
    else
        UseTree();
    RunOneOf(kCommands);
}

void SoakWalk::FindOrReplace()
{
    CPellixTreeView *pTree = UseTree();
    CFindItemsDlg *pDialog = Main().GetFindDialog();
    if (pDialog != nullptr && Chance(15)) {
        Note("close the find dialog");
        pDialog->reject();
        FlushDeletes();
        Main().activateWindow();
        return;
    }
    if (pDialog == nullptr) {
        const bool bReplace = Chance(60);
        Note(bReplace ? "open Replace, " : "open Find, ");
        Execute(bReplace ? ID_EDIT_REPLACE : ID_EDIT_FIND);
        pDialog = Main().GetFindDialog();
        if (pDialog == nullptr) {
            Note("(no dialog)");
            return;
        }
    }
    if (pDialog->GetFindCombo()->currentText().isEmpty() || Chance(50)) {
        // Mostly what the document holds: an element's name or a part of it.
        QString strFind = RandomText();
        if (Chance(70)) {
            const CTreeItemRef item = ShowRandomItem(pTree);
            strFind = item.GetLabel();
            if (Chance(30) && strFind.size() > 2)
                strFind = strFind.mid(1, strFind.size() - 2);
        }
        QLineEdit *pField = pDialog->GetFindCombo()->lineEdit();
        pField->selectAll();
        TypeText(pField, strFind);
        Note("find " + Quoted(pDialog->GetFindCombo()->currentText()) + ", ");
    }
    if (pDialog->IsReplaceMode() &&
        (pDialog->GetReplaceCombo()->currentText().isEmpty() || Chance(40))) {
        QLineEdit *pField = pDialog->GetReplaceCombo()->lineEdit();
        pField->selectAll();
        TypeText(pField, RandomName());
        Note("replacement " + Quoted(pDialog->GetReplaceCombo()->currentText()) + ", ");
    }
    for (const char *box : {"IDC_ELEMENT", "IDC_ATTR_NAME", "IDC_ATTR_VALUE", "IDC_TEXT",
                            "IDC_COMMENT", "IDC_MATCH_CASE", "IDC_WHOLE_TEXT"}) {
        if (Chance(10)) {
            pDialog->findChild<QCheckBox *>(QString::fromLatin1(box))->click();
            Note(std::string("toggle ") + box + ", ");
        }
    }
    if (Chance(10)) {
        const char *direction = Chance(50) ? "IDC_UP" : "IDC_DOWN";
        pDialog->findChild<QRadioButton *>(QString::fromLatin1(direction))->click();
        Note(std::string(direction) + ", ");
    }
    std::vector<const char *> buttons{"IDC_FIND_NEXT"};
    if (pDialog->IsReplaceMode())
        buttons.insert(buttons.end(), {"IDC_REPLACE", "IDC_REPLACE", "IDC_REPLACE_ALL"});
    const char *button = PickFrom(buttons);
    Note(button);
    pDialog->findChild<QPushButton *>(QString::fromLatin1(button))->click();
}

void SoakWalk::UndoRedo()
{
    CChildFrame *pFrame = ActiveFrame();
    // Undo goes to the pane the user is in: an open cell editor and the text pane take back
    // their own typing, the tree the document's steps.
    switch (Pick(3)) {
    case 0:
        UseTree();
        break;
    case 1:
        UseGrid();
        break;
    default:
        FocusPane(pFrame, pFrame->GetTextPane());
        break;
    }
    const bool bRedo = Chance(35);
    for (int n = Pick(3) + 1; n > 0; --n) {
        const bool bKeys = Chance(50);
        Note(std::string(bRedo ? "Redo" : "Undo") + (bKeys ? " (keys) " : " "));
        if (bKeys) {
            QWidget *pFocus = QApplication::focusWidget();
            QTest::keyClick(pFocus != nullptr ? pFocus : &Main(), bRedo ? Qt::Key_Y : Qt::Key_Z,
                            Qt::ControlModifier);
        } else {
            Execute(bRedo ? ID_EDIT_REDO : ID_EDIT_UNDO);
        }
    }
}

void SoakWalk::WindowCommand()
{
    const std::vector<CChildFrame *> frames = Frames();
    if (frames.size() < kMaxFrames && (frames.size() == 1 || Chance(30))) {
        Note("New Window");
        Execute(ID_WINDOW_NEW);
        return;
    }
    CChildFrame *pFrame = PickFrom(frames);
    if (Chance(50)) {
        Note("close window " + pFrame->windowTitle().toStdString());
        pFrame->close();
        FlushDeletes();
        return;
    }
    Note("activate window " + pFrame->windowTitle().toStdString());
    Activate(pFrame);
}

void SoakWalk::Save()
{
    if (Chance(50))
        UseGrid();
    else
        UseTree();
    Note("Save");
    Execute(ID_FILE_SAVE);
    AfterSave();
}

void SoakWalk::AfterSave()
{
    if (Doc().pDoc->IsModified()) {
        Note(" (not saved)");
        return;
    }
    Doc().baseline = ReadBytes(Doc().path.toStdString());
    Doc().bSaved = Doc().bWritten = true;
}

void SoakWalk::CloseAndReopen()
{
    static const std::vector<std::pair<MessageBoxResult, const char *>> kAnswers = {
        {MessageBoxResult::Yes, "Yes"},
        {MessageBoxResult::No, "No"},
        {MessageBoxResult::Cancel, "Cancel"}};
    UseTree();
    if (Chance(50)) {
        Note("Save");
        Execute(ID_FILE_SAVE);
        AfterSave();
        Note(", ");
    }
    const bool bModified = Doc().pDoc->IsModified();
    const auto &[answer, name] = PickFrom(kAnswers);
    Note(std::string("Close (answering ") + name + ")");
    m_script.answers.push_back(answer);
    Execute(ID_FILE_CLOSE);
    FlushDeletes();
    m_script.answers.clear();
    // Edited rows mark the document modified at once, so Close always asks before dropping them
    // (an open cell editor's text may make it ask about a document that was not modified yet).
    const bool bAsked = !m_script.prompts.isEmpty();
    EXPECT_TRUE(bAsked || !bModified) << "Close dropped the changes without asking";
    const std::vector<CPellixDoc *> open = Documents();
    const bool bOpen = std::find(open.begin(), open.end(), Doc().pDoc) != open.end();
    EXPECT_EQ(bOpen, bAsked && answer == MessageBoxResult::Cancel)
        << (bOpen ? "the document did not close" : "Cancel closed the document");
    if (bOpen)
        return;
    Doc().bWritten = Doc().bWritten || (bAsked && answer == MessageBoxResult::Yes);
    Doc().pDoc = OpenDoc(Doc().path);
    ASSERT_NE(Doc().pDoc, nullptr);
    Doc().bHadSteps = false;
    Doc().baseline = WriteXMLString(Doc().pDoc->GetXMLDocument());
    // A file the program wrote must open as the tree it saved, in the same bytes.
    Doc().bSaved = Doc().bWritten;
}

void SoakWalk::SwitchDocument()
{
    m_nDoc = (m_nDoc + 1) % m_docs.size();
    CChildFrame *pFrame = PickFrom(Frames());
    Note("switch to window " + pFrame->windowTitle().toStdString());
    Activate(pFrame);
}
