#include "View.h"

#include "DocumentBase.h"
#include "MDIChildWnd.h"

#include <QWidget>

CView::CView(QWidget *pWidget, CDocument *pDocument) : m_pWidget(pWidget), m_pDocument(pDocument)
{
    if (pDocument != nullptr)
        pDocument->AddView(this);
}

CView::~CView()
{
    if (m_pDocument != nullptr)
        m_pDocument->RemoveView(this);
}

CDocument *CView::GetDocument() const
{
    return m_pDocument;
}

CMDIChildWnd *CView::GetParentFrame() const
{
    for (QWidget *pWidget = m_pWidget->parentWidget(); pWidget != nullptr;
         pWidget = pWidget->parentWidget()) {
        if (auto *pFrame = qobject_cast<CMDIChildWnd *>(pWidget))
            return pFrame;
    }
    return nullptr;
}

CView *CView::FromWidget(QWidget *pWidget)
{
    for (; pWidget != nullptr; pWidget = pWidget->parentWidget()) {
        if (auto *pView = dynamic_cast<CView *>(pWidget))
            return pView;
        if (pWidget->isWindow())
            break;
    }
    return nullptr;
}
