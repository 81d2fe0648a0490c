#include "OpenURLDlg.h"

#include "DocTemplate.h"
#include "PellixApp.h"
#include "PellixDoc.h"
#include "ui_OpenURLDlg.h"

#include <QStringList>

namespace
{
QString TrimLeft(const QString &strText)
{
    qsizetype nStart = 0;
    while (nStart < strText.size() && strText.at(nStart).isSpace())
        ++nStart;
    return strText.mid(nStart);
}
} // namespace

COpenURLDlg::COpenURLDlg(QWidget *pParent)
    : QDialog(pParent), m_pUi(std::make_unique<Ui::COpenURLDlg>())
{
    m_pUi->setupUi(this);
    QComboBox *pCombo = m_pUi->m_wndURLCombo;
    if (const CPellixApp *pApp = PellixApp()) {
        QStringList urls = pApp->m_strURLHistory;
        urls.sort(Qt::CaseInsensitive);
        pCombo->addItems(urls);
    }
    // Completing a typed prefix to an earlier URL would open a URL nobody typed.
    pCombo->setCompleter(nullptr);
    // The edit field starts empty, as a drop-down list's does.
    pCombo->setCurrentIndex(-1);
    pCombo->clearEditText();
    pCombo->setFocus();
}

COpenURLDlg::~COpenURLDlg() = default;

QComboBox *COpenURLDlg::GetURLCombo() const
{
    return m_pUi->m_wndURLCombo;
}

void COpenURLDlg::accept()
{
    QComboBox *pCombo = m_pUi->m_wndURLCombo;
    const QString strURL = TrimLeft(pCombo->currentText());
    if (strURL.isEmpty())
        return;
    if (pCombo->findText(strURL, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0)
        pCombo->insertItem(0, strURL);
    CPellixApp *pApp = PellixApp();
    CDocTemplate *pTemplate = pApp != nullptr ? pApp->GetFirstDocTemplate() : nullptr;
    CDocument *pDocument = pTemplate != nullptr ? pTemplate->OpenDocumentFile(QString()) : nullptr;
    if (auto *pDoc = qobject_cast<CPellixDoc *>(pDocument)) {
        // Nothing came from the address (the reason was shown): no window pretends it opened.
        // A document that came but did not parse stays, as a new document under its name.
        if (!pDoc->OpenXMLDocument(strURL) && pDoc->GetLastLoadError().line <= 0)
            pDoc->OnCloseDocument();
    }
    if (pApp != nullptr) {
        pApp->m_strURLHistory.clear();
        for (int i = 0; i < pCombo->count(); ++i)
            pApp->m_strURLHistory << pCombo->itemText(i);
    }
    QDialog::accept();
}
