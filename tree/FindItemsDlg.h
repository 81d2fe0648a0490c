#pragma once

#include <QDialog>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>

class CMDIFrameWnd;
class CPellixTreeView;
class QComboBox;
struct CFindOptions;

namespace Ui
{
class CFindItemsDlg;
}

// Find Items / Replace Item: the modeless dialog that searches the tree of the active
// document window for elements by name, attribute name, attribute value and child text, or by
// an XPath expression, and renames the matches. Each click works on the window active at that
// moment. The texts typed are kept in the two histories for the run; closing the dialog stores
// them, empties the active window's match list and deletes the dialog.
class CFindItemsDlg : public QDialog
{
    Q_OBJECT

public:
    // The histories, which must outlive the dialog, fill the lists (sorted). In find mode the
    // Replace controls are hidden and Cancel takes the Replace button's place.
    CFindItemsDlg(CMDIFrameWnd *pFrame, bool bReplaceMode, QStringList *pFindHistory,
                  QStringList *pReplaceHistory);
    ~CFindItemsDlg() override;

    bool IsReplaceMode() const { return m_bReplaceMode; }
    QComboBox *GetFindCombo() const;
    QComboBox *GetReplaceCombo() const;

    // The buttons.
    void OnFindNext();
    void OnReplace();
    void OnReplaceAll();
    void OnSelectAll();
    void OnClearAll();
    // Cancel and the close box.
    void reject() override;

    // Reads the controls into the options (true) or shows the options in them (false).
    void UpdateData(bool bSaveAndValidate);

    bool m_bElement = true;
    bool m_bAttrName = false;
    bool m_bAttrValue = false;
    bool m_bText = false;
    bool m_bComment = false;
    bool m_bMatchCase = false;
    bool m_bWholeText = false;
    // The text is an XPath expression; the type and match options are off meanwhile.
    bool m_bXPath = false;
    // 0 up, 1 down.
    int m_nDirection = 1;

private:
    CFindOptions Options() const;
    // Enables the options that apply to a search by text, unless XPath is checked.
    void EnableTextOptions();
    // The tree pane of the active document window; null when none is open.
    CPellixTreeView *ActiveTree() const;
    // The texts of both combos with leading blanks removed, each added to its list when new;
    // false when the search text (or, with bNeedReplacement, the replacement) is empty.
    bool ReadTexts(bool bNeedReplacement, QString *pFind, QString *pReplace);
    // Reads the texts and, when they are there, runs fnRun on the active tree with them.
    void RunOnActiveTree(bool bNeedReplacement,
                         const std::function<void(CPellixTreeView *pTree, const QString &strFind,
                                                  const QString &strReplace)> &fnRun);

    std::unique_ptr<Ui::CFindItemsDlg> m_pUi;
    const bool m_bReplaceMode;
    const QPointer<CMDIFrameWnd> m_pFrame;
    QStringList *const m_pFindHistory;
    QStringList *const m_pReplaceHistory;
};
