#pragma once

#include <QDialog>
#include <memory>

class QComboBox;

namespace Ui
{
class COpenURLDlg;
}

// File > Open URL: asks for a URL (or path), offering the URLs entered earlier in this run,
// and opens it in a new document window titled with it.
class COpenURLDlg : public QDialog
{
    Q_OBJECT

public:
    // The list is filled from the application's URL history, sorted.
    explicit COpenURLDlg(QWidget *pParent);
    ~COpenURLDlg() override;

    QComboBox *GetURLCombo() const;

    // OK: blanks alone keep the dialog open; otherwise the URL opens in a new document and
    // the list becomes the application's URL history.
    void accept() override;

private:
    std::unique_ptr<Ui::COpenURLDlg> m_pUi;
};
