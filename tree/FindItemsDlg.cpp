#include "FindItemsDlg.h"

#include "MDIChildWnd.h"
#include "MDIFrameWnd.h"
#include "PellixTreeView.h"
#include "TreeFind.h"
#include "ui_FindItemsDlg.h"

#include <QLineEdit>
#include <QValidator>
#include <algorithm>

namespace
{

QString TrimLeft(const QString &strText)
{
    const auto first =
        std::find_if_not(strText.begin(), strText.end(), [](QChar c) { return c.isSpace(); });
    return strText.mid(first - strText.begin());
}

// The edit fields do not scroll: typing stops where the field is full.
class CFieldWidthValidator : public QValidator
{
public:
    explicit CFieldWidthValidator(QLineEdit *pEdit) : QValidator(pEdit), m_pEdit(pEdit) {}

    State validate(QString &strInput, int & /*nPos*/) const override
    {
        const QMargins margins = m_pEdit->textMargins();
        const int nRoom = m_pEdit->contentsRect().width() - margins.left() - margins.right() - 4;
        return m_pEdit->fontMetrics().horizontalAdvance(strInput) <= nRoom ? Acceptable : Invalid;
    }

private:
    QLineEdit *const m_pEdit;
};

// Adds `strText` to the list of `pCombo` in its sorted place, unless the list holds it already
// in any letter case.
void AddSorted(QComboBox *pCombo, const QString &strText)
{
    if (pCombo->findText(strText, Qt::MatchFixedString) >= 0)
        return;
    int nIndex = 0;
    while (nIndex < pCombo->count() &&
           QString::compare(pCombo->itemText(nIndex), strText, Qt::CaseInsensitive) <= 0)
        ++nIndex;
    pCombo->insertItem(nIndex, strText);
}

void PrepareCombo(QComboBox *pCombo, const QStringList *pHistory)
{
    if (pHistory != nullptr) {
        for (const QString &strText : *pHistory)
            AddSorted(pCombo, strText);
    }
    // Completing a typed prefix to an earlier text would search for a text nobody typed.
    pCombo->setCompleter(nullptr);
    pCombo->setCurrentIndex(-1);
    pCombo->clearEditText();
    pCombo->lineEdit()->setValidator(new CFieldWidthValidator(pCombo->lineEdit()));
}

void StoreHistory(const QComboBox *pCombo, QStringList *pHistory)
{
    if (pHistory == nullptr)
        return;
    pHistory->clear();
    for (int nIndex = 0; nIndex < pCombo->count(); ++nIndex)
        *pHistory << pCombo->itemText(nIndex);
}

} // namespace

CFindItemsDlg::CFindItemsDlg(CMDIFrameWnd *pFrame, bool bReplaceMode, QStringList *pFindHistory,
                             QStringList *pReplaceHistory)
    : QDialog(bReplaceMode ? pFrame : nullptr), m_pUi(std::make_unique<Ui::CFindItemsDlg>()),
      m_bReplaceMode(bReplaceMode), m_pFrame(pFrame), m_pFindHistory(pFindHistory),
      m_pReplaceHistory(pReplaceHistory)
{
    m_pUi->setupUi(this);
    PrepareCombo(m_pUi->IDC_FIND_COMBO, pFindHistory);
    PrepareCombo(m_pUi->IDC_REPLACE_COMBO, pReplaceHistory);
    if (bReplaceMode) {
        setWindowTitle(QStringLiteral("Replace Item"));
    } else {
        for (QWidget *pWidget :
             std::initializer_list<QWidget *>{m_pUi->IDC_REPLACE, m_pUi->IDC_REPLACE_ALL,
                                              m_pUi->IDC_REPLACE_COMBO, m_pUi->IDC_REPLACE_LABEL})
            pWidget->hide();
    }
    connect(m_pUi->IDC_FIND_NEXT, &QPushButton::clicked, this, &CFindItemsDlg::OnFindNext);
    connect(m_pUi->IDC_REPLACE, &QPushButton::clicked, this, &CFindItemsDlg::OnReplace);
    connect(m_pUi->IDC_REPLACE_ALL, &QPushButton::clicked, this, &CFindItemsDlg::OnReplaceAll);
    connect(m_pUi->IDC_SELECT_ALL, &QPushButton::clicked, this, &CFindItemsDlg::OnSelectAll);
    connect(m_pUi->IDC_CLEAR_ALL, &QPushButton::clicked, this, &CFindItemsDlg::OnClearAll);
    connect(m_pUi->IDC_XPATH, &QCheckBox::toggled, this, &CFindItemsDlg::EnableTextOptions);
    UpdateData(false);
    adjustSize();
    if (pFrame != nullptr)
        move(pFrame->frameGeometry().center() - rect().center());
    m_pUi->IDC_FIND_COMBO->setFocus();
}

CFindItemsDlg::~CFindItemsDlg() = default;

QComboBox *CFindItemsDlg::GetFindCombo() const
{
    return m_pUi->IDC_FIND_COMBO;
}

QComboBox *CFindItemsDlg::GetReplaceCombo() const
{
    return m_pUi->IDC_REPLACE_COMBO;
}

void CFindItemsDlg::UpdateData(bool bSaveAndValidate)
{
    const std::pair<QCheckBox *, bool *> boxes[] = {
        {m_pUi->IDC_ELEMENT, &m_bElement},      {m_pUi->IDC_ATTR_NAME, &m_bAttrName},
        {m_pUi->IDC_ATTR_VALUE, &m_bAttrValue}, {m_pUi->IDC_TEXT, &m_bText},
        {m_pUi->IDC_COMMENT, &m_bComment},      {m_pUi->IDC_MATCH_CASE, &m_bMatchCase},
        {m_pUi->IDC_WHOLE_TEXT, &m_bWholeText}, {m_pUi->IDC_XPATH, &m_bXPath},
    };
    for (const auto &[pBox, pValue] : boxes) {
        if (bSaveAndValidate)
            *pValue = pBox->isChecked();
        else
            pBox->setChecked(*pValue);
    }
    if (bSaveAndValidate) {
        m_nDirection = m_pUi->IDC_UP->isChecked() ? 0 : 1;
    } else {
        m_pUi->IDC_UP->setChecked(m_nDirection == 0);
        m_pUi->IDC_DOWN->setChecked(m_nDirection != 0);
        EnableTextOptions();
    }
}

void CFindItemsDlg::EnableTextOptions()
{
    const bool bText = !m_pUi->IDC_XPATH->isChecked();
    for (QWidget *pWidget : std::initializer_list<QWidget *>{
             m_pUi->typesGroup, m_pUi->IDC_MATCH_CASE, m_pUi->IDC_WHOLE_TEXT})
        pWidget->setEnabled(bText);
    // An expression may be longer than the field; a search text stops at its width.
    QLineEdit *pEdit = m_pUi->IDC_FIND_COMBO->lineEdit();
    pEdit->setValidator(bText ? pEdit->findChild<QValidator *>() : nullptr);
}

CFindOptions CFindItemsDlg::Options() const
{
    CFindOptions options;
    options.bMatchCase = m_bMatchCase;
    options.nDirection = m_nDirection;
    options.bWholeText = m_bWholeText;
    options.bElement = m_bElement;
    options.bAttrName = m_bAttrName;
    options.bAttrValue = m_bAttrValue;
    options.bComment = m_bComment;
    options.bText = m_bText;
    options.bXPath = m_bXPath;
    return options;
}

CPellixTreeView *CFindItemsDlg::ActiveTree() const
{
    const CMDIChildWnd *pChild = m_pFrame != nullptr ? m_pFrame->MDIGetActive() : nullptr;
    if (pChild == nullptr)
        return nullptr;
    for (CView *pView : pChild->GetViews()) {
        if (auto *pTree = dynamic_cast<CPellixTreeView *>(pView))
            return pTree;
    }
    return nullptr;
}

bool CFindItemsDlg::ReadTexts(bool bNeedReplacement, QString *pFind, QString *pReplace)
{
    UpdateData(true);
    *pFind = TrimLeft(m_pUi->IDC_FIND_COMBO->currentText());
    *pReplace = TrimLeft(m_pUi->IDC_REPLACE_COMBO->currentText());
    if (pFind->isEmpty() || (bNeedReplacement && pReplace->isEmpty()))
        return false;
    AddSorted(m_pUi->IDC_FIND_COMBO, *pFind);
    if (bNeedReplacement)
        AddSorted(m_pUi->IDC_REPLACE_COMBO, *pReplace);
    return true;
}

void CFindItemsDlg::RunOnActiveTree(
    bool bNeedReplacement,
    const std::function<void(CPellixTreeView *, const QString &, const QString &)> &fnRun)
{
    QString strFind;
    QString strReplace;
    if (!ReadTexts(bNeedReplacement, &strFind, &strReplace))
        return;
    if (CPellixTreeView *pTree = ActiveTree())
        fnRun(pTree, strFind, strReplace);
}

void CFindItemsDlg::OnFindNext()
{
    RunOnActiveTree(false, [this](CPellixTreeView *pTree, const QString &strFind, const QString &) {
        pTree->FindInTree(pTree->GetRootItem(), strFind, false, QString(), Options());
    });
}

void CFindItemsDlg::OnReplace()
{
    RunOnActiveTree(
        true, [this](CPellixTreeView *pTree, const QString &strFind, const QString &strReplace) {
            pTree->FindInTree(pTree->GetRootItem(), strFind, true, strReplace, Options());
        });
}

void CFindItemsDlg::OnReplaceAll()
{
    RunOnActiveTree(
        true, [this](CPellixTreeView *pTree, const QString &strFind, const QString &strReplace) {
            pTree->ReplaceAll(pTree->GetRootItem(), strFind, strReplace, Options());
        });
}

void CFindItemsDlg::OnSelectAll()
{
    UpdateData(true);
    m_bElement = m_bAttrName = m_bAttrValue = m_bText = m_bComment = true;
    UpdateData(false);
}

void CFindItemsDlg::OnClearAll()
{
    UpdateData(true);
    m_bElement = m_bAttrName = m_bAttrValue = m_bText = m_bComment = false;
    UpdateData(false);
}

void CFindItemsDlg::reject()
{
    if (CPellixTreeView *pTree = ActiveTree())
        pTree->ClearMatches();
    StoreHistory(m_pUi->IDC_FIND_COMBO, m_pFindHistory);
    StoreHistory(m_pUi->IDC_REPLACE_COMBO, m_pReplaceHistory);
    QDialog::reject();
    deleteLater();
}
