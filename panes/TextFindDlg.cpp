#include "TextFindDlg.h"

#include "PellixView.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace
{
// Kept for the run, like the desktop's own find dialog does.
CTextFindDlg::LastSearch &LastSearchOfRun()
{
    static CTextFindDlg::LastSearch last;
    return last;
}
} // namespace

const CTextFindDlg::LastSearch &CTextFindDlg::GetLastSearch()
{
    return LastSearchOfRun();
}

CTextFindDlg::CTextFindDlg(CPellixView *pView, bool bReplaceMode, const QString &strFind)
    : QDialog(pView), m_pView(pView), m_bReplaceMode(bReplaceMode)
{
    setWindowTitle(bReplaceMode ? QStringLiteral("Replace") : QStringLiteral("Find"));
    BuildControls();
    const LastSearch &last = LastSearchOfRun();
    m_pFindEdit->setText(strFind);
    m_pFindEdit->selectAll();
    m_pReplaceEdit->setText(last.strReplace);
    m_pMatchCase->setChecked(last.bCase);
    m_pWholeWord->setChecked(last.bWord);
    m_pUp->setChecked(!last.bNext);
    m_pDown->setChecked(last.bNext);
    UpdateButtons();
    connect(m_pFindEdit, &QLineEdit::textChanged, this, &CTextFindDlg::UpdateButtons);
    connect(m_pFindNext, &QPushButton::clicked, this, &CTextFindDlg::OnFindNext);
    connect(m_pReplace, &QPushButton::clicked, this, &CTextFindDlg::OnReplace);
    connect(m_pReplaceAll, &QPushButton::clicked, this, &CTextFindDlg::OnReplaceAll);
    m_pFindEdit->setFocus();
}

CTextFindDlg::~CTextFindDlg() = default;

void CTextFindDlg::BuildControls()
{
    auto *pFields = new QGridLayout;
    m_pFindEdit = new QLineEdit(this);
    m_pReplaceEdit = new QLineEdit(this);
    auto *pFindLabel = new QLabel(QStringLiteral("Fi&nd what:"), this);
    auto *pReplaceLabel = new QLabel(QStringLiteral("Re&place with:"), this);
    pFindLabel->setBuddy(m_pFindEdit);
    pReplaceLabel->setBuddy(m_pReplaceEdit);
    pFields->addWidget(pFindLabel, 0, 0);
    pFields->addWidget(m_pFindEdit, 0, 1);
    pFields->addWidget(pReplaceLabel, 1, 0);
    pFields->addWidget(m_pReplaceEdit, 1, 1);
    pReplaceLabel->setVisible(m_bReplaceMode);
    m_pReplaceEdit->setVisible(m_bReplaceMode);

    m_pWholeWord = new QCheckBox(QStringLiteral("Match &whole word only"), this);
    m_pMatchCase = new QCheckBox(QStringLiteral("Match &case"), this);
    auto *pDirection = new QGroupBox(QStringLiteral("Direction"), this);
    m_pUp = new QRadioButton(QStringLiteral("&Up"), pDirection);
    m_pDown = new QRadioButton(QStringLiteral("&Down"), pDirection);
    auto *pDirectionLayout = new QHBoxLayout(pDirection);
    pDirectionLayout->addWidget(m_pUp);
    pDirectionLayout->addWidget(m_pDown);
    // Replacing always goes down.
    pDirection->setVisible(!m_bReplaceMode);
    auto *pOptions = new QHBoxLayout;
    auto *pChecks = new QVBoxLayout;
    pChecks->addWidget(m_pWholeWord);
    pChecks->addWidget(m_pMatchCase);
    pOptions->addLayout(pChecks);
    pOptions->addWidget(pDirection);

    auto *pButtons = new QDialogButtonBox(Qt::Vertical, this);
    m_pFindNext = pButtons->addButton(QStringLiteral("&Find Next"), QDialogButtonBox::ActionRole);
    m_pFindNext->setDefault(true);
    m_pReplace = pButtons->addButton(QStringLiteral("&Replace"), QDialogButtonBox::ActionRole);
    m_pReplaceAll =
        pButtons->addButton(QStringLiteral("Replace &All"), QDialogButtonBox::ActionRole);
    m_pReplace->setVisible(m_bReplaceMode);
    m_pReplaceAll->setVisible(m_bReplaceMode);
    pButtons->addButton(QDialogButtonBox::Cancel);
    connect(pButtons, &QDialogButtonBox::rejected, this, &CTextFindDlg::reject);

    auto *pLeft = new QVBoxLayout;
    pLeft->addLayout(pFields);
    pLeft->addLayout(pOptions);
    pLeft->addStretch();
    auto *pMain = new QHBoxLayout(this);
    pMain->addLayout(pLeft);
    pMain->addWidget(pButtons);
}

void CTextFindDlg::UpdateButtons()
{
    const bool bText = !m_pFindEdit->text().isEmpty();
    for (QPushButton *pButton : {m_pFindNext, m_pReplace, m_pReplaceAll})
        pButton->setEnabled(bText);
}

void CTextFindDlg::Remember()
{
    LastSearch &last = LastSearchOfRun();
    last.strFind = m_pFindEdit->text();
    if (m_bReplaceMode)
        last.strReplace = m_pReplaceEdit->text();
    last.bCase = m_pMatchCase->isChecked();
    last.bWord = m_pWholeWord->isChecked();
    last.bNext = m_bReplaceMode || m_pDown->isChecked();
}

void CTextFindDlg::OnFindNext()
{
    Remember();
    const LastSearch &last = LastSearchOfRun();
    m_pView->OnFindNext(last.strFind, last.bNext, last.bCase, last.bWord);
}

void CTextFindDlg::OnReplace()
{
    Remember();
    const LastSearch &last = LastSearchOfRun();
    m_pView->OnReplaceSel(last.strFind, last.bCase, last.bWord, last.strReplace);
}

void CTextFindDlg::OnReplaceAll()
{
    Remember();
    const LastSearch &last = LastSearchOfRun();
    m_pView->OnReplaceAll(last.strFind, last.strReplace, last.bCase, last.bWord);
}

void CTextFindDlg::reject()
{
    Remember();
    QDialog::reject();
    deleteLater();
}
