#pragma once

#include "RecoveryStore.h"

#include <QDialog>
#include <vector>

class QTreeWidget;

// The copies of documents a killed or crashed run left: one line each (the document, its file
// and when the copy was written), all checked, and the choice to open the checked ones as new
// documents, to discard them, or to decide later (the copies stay).
class CRecoveryDlg : public QDialog
{
    Q_OBJECT

public:
    enum Choice { Later, Open, Discard };

    CRecoveryDlg(const std::vector<CRecoveryEntry> &entries, QWidget *pParent);
    ~CRecoveryDlg() override;

    Choice GetChoice() const { return m_nChoice; }
    // The positions of the checked lines, in order.
    std::vector<std::size_t> GetChecked() const;
    QTreeWidget *GetList() const { return m_pList; }
    // Ends the dialog with `nChoice`, as its buttons do.
    void Choose(Choice nChoice);

private:
    QTreeWidget *m_pList = nullptr;
    Choice m_nChoice = Later;
};
