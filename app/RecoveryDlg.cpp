#include "RecoveryDlg.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

CRecoveryDlg::CRecoveryDlg(const std::vector<CRecoveryEntry> &entries, QWidget *pParent)
    : QDialog(pParent)
{
    setWindowTitle(tr("Recover Documents"));
    auto *pLayout = new QVBoxLayout(this);
    pLayout->addWidget(new QLabel(
        tr("Pellix ended without saving these documents. Open the checked ones as new "
           "documents (nothing is written to their files until you save), or discard them."),
        this));
    m_pList = new QTreeWidget(this);
    m_pList->setRootIsDecorated(false);
    m_pList->setHeaderLabels({tr("Document"), tr("File"), tr("Copy written")});
    for (const CRecoveryEntry &entry : entries) {
        auto *pItem = new QTreeWidgetItem(m_pList);
        pItem->setText(0, entry.strTitle);
        pItem->setText(1,
                       entry.strSourcePath.isEmpty() ? tr("(never saved)") : entry.strSourcePath);
        pItem->setText(2, QLocale().toString(entry.written.toLocalTime(), QLocale::ShortFormat));
        pItem->setCheckState(0, Qt::Checked);
    }
    m_pList->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    pLayout->addWidget(m_pList);

    auto *pButtons = new QDialogButtonBox(this);
    QPushButton *pOpen = pButtons->addButton(tr("&Open"), QDialogButtonBox::AcceptRole);
    QPushButton *pDiscard = pButtons->addButton(tr("&Discard"), QDialogButtonBox::DestructiveRole);
    QPushButton *pLater = pButtons->addButton(tr("Decide &Later"), QDialogButtonBox::RejectRole);
    pOpen->setDefault(true);
    connect(pOpen, &QPushButton::clicked, this, [this] { Choose(Open); });
    connect(pDiscard, &QPushButton::clicked, this, [this] { Choose(Discard); });
    connect(pLater, &QPushButton::clicked, this, [this] { Choose(Later); });
    pLayout->addWidget(pButtons);
}

CRecoveryDlg::~CRecoveryDlg() = default;

std::vector<std::size_t> CRecoveryDlg::GetChecked() const
{
    std::vector<std::size_t> checked;
    for (int i = 0; i < m_pList->topLevelItemCount(); ++i) {
        if (m_pList->topLevelItem(i)->checkState(0) == Qt::Checked)
            checked.push_back(static_cast<std::size_t>(i));
    }
    return checked;
}

void CRecoveryDlg::Choose(Choice nChoice)
{
    m_nChoice = nChoice;
    // Escape and the close button leave the choice at Later.
    done(nChoice == Later ? Rejected : Accepted);
}
