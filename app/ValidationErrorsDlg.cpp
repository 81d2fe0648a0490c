#include "ValidationErrorsDlg.h"

#include "MessageBox.h"
#include "PellixTreeView.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace
{
enum Column { kLine, kColumn, kMessage };
}

CValidationErrorsDlg::CValidationErrorsDlg(QWidget *pParent, CPellixTreeView *pTree,
                                           const QString &strSchema,
                                           std::vector<ValidationError> errors)
    : QDialog(pParent), m_pList(new QTreeWidget(this)), m_pTree(pTree), m_errors(std::move(errors))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Validation Errors"));
    const int nErrors = static_cast<int>(m_errors.size());
    auto *pSummary =
        new QLabel(QStringLiteral("%1 error%2 against %3. Activate an error to select its element.")
                       .arg(nErrors)
                       .arg(nErrors == 1 ? "" : "s", QFileInfo(strSchema).fileName()),
                   this);
    m_pList->setColumnCount(3);
    m_pList->setHeaderLabels(
        {QStringLiteral("Line"), QStringLiteral("Column"), QStringLiteral("Message")});
    m_pList->setRootIsDecorated(false);
    m_pList->setUniformRowHeights(true);
    m_pList->setWordWrap(false);
    QList<QTreeWidgetItem *> items;
    const int nShown = std::min(nErrors, kMaxShown);
    for (int i = 0; i < nShown; ++i) {
        const ValidationError &error = m_errors[static_cast<std::size_t>(i)];
        auto *pItem =
            new QTreeWidgetItem({QString::number(error.nLine),
                                 error.nColumn > 0 ? QString::number(error.nColumn) : QString(),
                                 QString::fromStdString(error.message)});
        pItem->setData(kLine, Qt::UserRole, i);
        items << pItem;
    }
    if (nErrors > nShown) {
        auto *pMore = new QTreeWidgetItem(
            {QString(), QString(), QStringLiteral("... and %1 more").arg(nErrors - nShown)});
        pMore->setData(kLine, Qt::UserRole, -1);
        items << pMore;
    }
    m_pList->addTopLevelItems(items);
    m_pList->header()->setSectionResizeMode(kMessage, QHeaderView::Stretch);
    m_pList->resizeColumnToContents(kLine);
    m_pList->resizeColumnToContents(kColumn);
    connect(m_pList, &QTreeWidget::itemActivated, this, &CValidationErrorsDlg::OnActivated);

    auto *pButtons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto *pLayout = new QVBoxLayout(this);
    pLayout->addWidget(pSummary);
    pLayout->addWidget(m_pList);
    pLayout->addWidget(pButtons);
    resize(640, 320);
}

void CValidationErrorsDlg::OnActivated(QTreeWidgetItem *pItem)
{
    if (pItem != nullptr)
        ShowError(pItem->data(kLine, Qt::UserRole).toInt());
}

bool CValidationErrorsDlg::ShowError(int nIndex)
{
    if (nIndex < 0 || nIndex >= static_cast<int>(m_errors.size()) || m_pTree == nullptr)
        return false;
    const dom::Node &element = m_errors[static_cast<std::size_t>(nIndex)].element;
    if (element.isNull())
        return false;
    const CTreeItemRef item = m_pTree->MakeItemFor(element);
    if (item.IsNull()) {
        AfxMessageBox(QStringLiteral("The element of this error is no longer in the document."));
        return false;
    }
    m_pTree->SelectItem(item);
    m_pTree->scrollTo(m_pTree->IndexFromItem(item));
    return true;
}
