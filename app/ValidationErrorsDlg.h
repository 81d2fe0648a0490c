#pragma once

#include "SchemaValidation.h"

#include <QDialog>
#include <QPointer>
#include <vector>

class CPellixTreeView;
class QTreeWidget;
class QTreeWidgetItem;

// The errors a validation found: line, column and message each. Activating an error (double
// click, Enter) selects its element in the tree pane of the window that ran the validation.
// Modeless; it deletes itself when closed and goes with that window.
class CValidationErrorsDlg : public QDialog
{
    Q_OBJECT

public:
    // At most this many errors are listed; a last row says how many more there were.
    static constexpr int kMaxShown = 10000;

    CValidationErrorsDlg(QWidget *pParent, CPellixTreeView *pTree, const QString &strSchema,
                         std::vector<ValidationError> errors);

    QTreeWidget *GetList() const { return m_pList; }
    // Selects the element of error nIndex in the tree; a message says so when it is no longer
    // in the document. False when nothing was selected.
    bool ShowError(int nIndex);

private:
    void OnActivated(QTreeWidgetItem *pItem);

    QTreeWidget *const m_pList;
    // The tree may close first.
    const QPointer<CPellixTreeView> m_pTree;
    const std::vector<ValidationError> m_errors;
};
