// Find with the XPath option: the expression is evaluated from the document by libxml2, and
// the elements it names become the match list that Find Next, Replace and Replace All walk.

#include "MessageBox.h"
#include "PellixTreeView.h"
#include "WaitCursor.h"
#include "XPathQuery.h"

namespace
{

QString DescribeValue(const XPathOutcome &outcome)
{
    const QString value = QString::fromStdString(outcome.value);
    switch (outcome.kind) {
    case XPathKind::Boolean:
        return QStringLiteral("the value %1").arg(value);
    case XPathKind::Number:
        return QStringLiteral("the number %1").arg(value);
    default:
        return QStringLiteral("the text \"%1\"").arg(value);
    }
}

} // namespace

bool CPellixTreeView::CollectMatchList(std::vector<CFoundItem> &arrFound, const CTreeItemRef &start,
                                       const QString &strFind, const CFindOptions &options) const
{
    if (!options.bXPath) {
        CollectMatches(arrFound, start, strFind, options);
        return true;
    }
    return CollectXPathMatches(arrFound, strFind);
}

bool CPellixTreeView::CollectXPathMatches(std::vector<CFoundItem> &arrFound,
                                          const QString &strExpression) const
{
    const CTreeItemRef root = GetRootItem();
    const dom::Document document = root.GetNode().ownerDocument();
    if (document.isNull())
        return false;
    std::vector<dom::Node> elements;
    XPathOutcome outcome;
    {
        CWaitCursor wait;
        outcome = FindXPathElements(document, strExpression.toStdString(), &elements);
    }
    if (!outcome.Succeeded()) {
        const QString error = QString::fromStdString(outcome.error);
        AfxMessageBox(outcome.bExpressionFailed
                          ? QStringLiteral("Invalid XPath expression:\n%1").arg(error)
                          : error);
        return false;
    }
    if (outcome.kind != XPathKind::Nodes) {
        AfxMessageBox(QStringLiteral("The XPath expression gives %1, not elements to select.")
                          .arg(DescribeValue(outcome)));
        return false;
    }
    // Items stand in document order, as the elements do: one walk pairs them, making only the
    // items of the elements found.
    std::size_t nNext = 0;
    for (CTreeItemWalk walk(m_pModel, root.GetId()); nNext < elements.size() && walk.Next();) {
        if (walk.Node() == elements[nNext].view()) {
            AddFound(arrFound, walk);
            ++nNext;
        }
    }
    // An element the walk could not pair is looked up alone.
    for (; nNext < elements.size(); ++nNext) {
        if (const CTreeItemRef item = MakeItemFor(elements[nNext]))
            arrFound.push_back({item.GetId(), m_pModel->GenerationOf(item.GetId())});
    }
    return true;
}
