#include "PaneWiring.h"

#include "EditContext.h"
#include "PellixDoc.h"
#include "PellixGridView.h"
#include "PellixTreeView.h"
#include "PellixView.h"

CEditContext *WirePanes(CPellixDoc *pDoc, QObject *pOwner, CPellixTreeView *pTree,
                        CPellixGridView *pGrid, CPellixView *pText)
{
    if (pDoc == nullptr)
        return nullptr;
    CEditContext *pContext = pDoc->CreateEditContext(pOwner);
    if (pTree != nullptr)
        pTree->SetEditContext(pContext);
    pGrid->SetEditContext(pContext);
    QObject::connect(pGrid, &CPellixGridView::cellShown, pText,
                     [pText](const QString &strText, int nRow, int nCol) {
                         pText->SetText(strText, nRow, nCol);
                     });
    QObject::connect(pGrid, &CPellixGridView::cellCleared, pText, [pText] { pText->SetLocked(1); });
    QObject::connect(pText, &CPellixView::textEdited, pGrid, &CPellixGridView::SetCellFromTextPane);
    return pContext;
}
