#include "SplitterKeyboard.h"

#include <QApplication>
#include <QKeyEvent>
#include <QSplitter>
#include <algorithm>

CSplitterKeyboard::CSplitterKeyboard(QSplitter *pOuter, QSplitter *pInner, QObject *pParent)
    : QObject(pParent), m_pOuter(pOuter), m_pInner(pInner)
{
}

CSplitterKeyboard::~CSplitterKeyboard()
{
    if (m_bActive)
        Finish(true);
}

void CSplitterKeyboard::Start()
{
    if (m_bActive || m_pOuter == nullptr || m_pInner == nullptr)
        return;
    m_outerSizes = m_pOuter->sizes();
    m_innerSizes = m_pInner->sizes();
    m_bActive = true;
    // Every key goes to the bars until the move ends, whichever pane has the focus.
    qApp->installEventFilter(this);
    QApplication::setOverrideCursor(Qt::SizeAllCursor);
}

void CSplitterKeyboard::Finish(bool bKeep)
{
    m_bActive = false;
    qApp->removeEventFilter(this);
    QApplication::restoreOverrideCursor();
    if (bKeep)
        return;
    if (m_pOuter != nullptr)
        m_pOuter->setSizes(m_outerSizes);
    if (m_pInner != nullptr)
        m_pInner->setSizes(m_innerSizes);
}

void CSplitterKeyboard::Move(QSplitter *pSplitter, int nDelta)
{
    if (pSplitter == nullptr || pSplitter->count() < 2)
        return;
    QList<int> sizes = pSplitter->sizes();
    const int nTotal = sizes[0] + sizes[1];
    sizes[0] = std::clamp(sizes[0] + nDelta, 0, nTotal);
    sizes[1] = nTotal - sizes[0];
    pSplitter->setSizes(sizes);
}

bool CSplitterKeyboard::eventFilter(QObject *pWatched, QEvent *pEvent)
{
    if (pEvent->type() == QEvent::MouseButtonPress) {
        Finish(true);
        return QObject::eventFilter(pWatched, pEvent);
    }
    if (pEvent->type() == QEvent::ShortcutOverride)
        return true;
    if (pEvent->type() != QEvent::KeyPress)
        return QObject::eventFilter(pWatched, pEvent);
    const auto *pKey = static_cast<QKeyEvent *>(pEvent);
    const int nStep = pKey->modifiers() & Qt::ControlModifier ? 1 : kStep;
    switch (pKey->key()) {
    case Qt::Key_Left:
        Move(m_pOuter, -nStep);
        break;
    case Qt::Key_Right:
        Move(m_pOuter, nStep);
        break;
    case Qt::Key_Up:
        Move(m_pInner, -nStep);
        break;
    case Qt::Key_Down:
        Move(m_pInner, nStep);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Finish(true);
        break;
    case Qt::Key_Escape:
        Finish(false);
        break;
    default:
        break;
    }
    // The panes see none of these keys while the bars move.
    return true;
}
