#pragma once

#include <QDialog>

class CPellixView;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// Find and Replace of the text pane, as a text box of the desktop offers them: "Find what",
// in replace mode "Replace with", whole word, match case and (find mode) the direction.
// Modeless; each button acts on the pane's own text. Closing deletes the dialog.
class CTextFindDlg : public QDialog
{
    Q_OBJECT

public:
    // Starts with `strFind` to look for and the options of the last search of the run.
    CTextFindDlg(CPellixView *pView, bool bReplaceMode, const QString &strFind);
    ~CTextFindDlg() override;

    bool IsReplaceMode() const { return m_bReplaceMode; }
    QLineEdit *GetFindEdit() const { return m_pFindEdit; }
    QLineEdit *GetReplaceEdit() const { return m_pReplaceEdit; }
    QCheckBox *GetWholeWordBox() const { return m_pWholeWord; }
    QCheckBox *GetMatchCaseBox() const { return m_pMatchCase; }
    QRadioButton *GetUpButton() const { return m_pUp; }

    void OnFindNext();
    void OnReplace();
    void OnReplaceAll();
    void reject() override;

    // What the last dialog of the run searched for, and how.
    struct LastSearch {
        QString strFind;
        QString strReplace;
        bool bCase = false;
        bool bWord = false;
        bool bNext = true;
    };
    static const LastSearch &GetLastSearch();

private:
    void BuildControls();
    void UpdateButtons();
    // Stores the controls as the run's last search.
    void Remember();

    CPellixView *const m_pView;
    const bool m_bReplaceMode;
    QLineEdit *m_pFindEdit = nullptr;
    QLineEdit *m_pReplaceEdit = nullptr;
    QCheckBox *m_pWholeWord = nullptr;
    QCheckBox *m_pMatchCase = nullptr;
    QRadioButton *m_pUp = nullptr;
    QRadioButton *m_pDown = nullptr;
    QPushButton *m_pFindNext = nullptr;
    QPushButton *m_pReplace = nullptr;
    QPushButton *m_pReplaceAll = nullptr;
};
