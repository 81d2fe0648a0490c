#include "PaneWiring.h"

#include "PellixDoc.h"
#include "PellixGridView.h"
#include "PellixTreeView.h"
#include "PellixView.h"

void WirePanes(CPellixDoc *pDoc, CPellixTreeView *pTree, CPellixGridView *pGrid, CPellixView *pText)
{
    pTree->SetPanes(pGrid, pText);
    pGrid->SetTextPane(pText);
    pText->SetGridPane(pGrid);
    if (pDoc != nullptr)
        pDoc->SetPanes(pTree, pTree, pGrid, pGrid, pText);
}
