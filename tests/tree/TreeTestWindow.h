#pragma once

// A document window for the tree pane's tests: a CPellixDoc and its three panes in a
// splitter, wired as a child frame wires them, shown offscreen, with the item model checker
// on the tree's model and every message box recorded.

#include "MessageRecorder.h"
#include "PaneWindow.h"
#include "TempDir.h"
#include "TreePath.h"

#include <QSplitter>
#include <QStringList>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>

class QAbstractItemModelTester;
class QMenu;

class TreeTest : public ::testing::Test, protected PaneWindow
{
protected:
    TreeTest();
    ~TreeTest() override;

    // Opens `xml` from a file; false when it did not load. Forgets the messages of the load.
    bool Open(const std::string &xml);
    // File New: the declaration and the document item.
    void New();

    // The item reached from the document item by labels ("" the document item itself,
    // "root/a" its element a); null when there is none.
    CTreeItemRef Item(const QString &strPath) const;
    // Selects as a click does, through the view's selection model.
    void Select(const CTreeItemRef &item);
    // The grid's rows in fill order, each "kind|name|value".
    QStringList Rows() const;
    // Commits `strText` into a grid cell (column 1 name, 2 value) as its editor does.
    void EditCell(int nRow, int nCol, const QString &strText);
    // Sends a command as the menus do (the tree pane first, then the document), and reads
    // its update state.
    void Command(int nID);
    bool IsEnabled(int nID);
    // Opens the popup over `item` (null: over blank space), runs fnShown while it is open,
    // then chooses the entry nChoose (0: closes the popup without a command).
    void Popup(const CTreeItemRef &item, const std::function<void(QMenu *)> &fnShown,
               int nChoose = 0);
    // Renames through the label editor: F2 on the selected item, the text, Enter.
    void RenameSelected(const QString &strText);
    // Saves to a file of the test and returns its bytes.
    std::string Save();

    MessageRecorder recorder;
    TempDir dir;

private:
    std::unique_ptr<QAbstractItemModelTester> m_tester;
    int m_nSaves = 0;
};

// The names of the element children of `parent`, in order.
QStringList ElementNames(const dom::Node &parent);
// Each item under `parent` names the element child at its own position, all the way down, and
// every element has an item.
bool ItemsMatchNodes(const CTreeItemRef &parent);

// Readable failure output.
void PrintTo(const CTreeItemRef &item, std::ostream *pStream);
void PrintTo(const QString &strText, std::ostream *pStream);
void PrintTo(const QStringList &list, std::ostream *pStream);

// Whether the popup entry of command nID is enabled; fails the test when there is none.
bool IsMenuItemEnabled(QMenu *pMenu, int nID);
