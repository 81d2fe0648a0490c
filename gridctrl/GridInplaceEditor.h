#pragma once

#include <QKeyEvent>
#include <QString>

class CGridListView;

// What every in-place editor of a grid list does for the list: it commits its text when it
// differs from the cell's text at opening, and once the list has closed it, a later focus loss
// commits nothing more.
class CGridInplaceEditor
{
public:
    virtual ~CGridInplaceEditor() = default;

    // Sends the text to the list unless it equals the text at opening or the edit was
    // cancelled.
    virtual void CommitEdit() = 0;
    // The text the editor holds now.
    virtual QString GetEditText() const = 0;

    void MarkClosed() { m_bClosed = true; }
    bool IsClosed() const { return m_bClosed; }
    bool IsCancelled() const { return m_bCancelled; }

protected:
    bool m_bClosed = false;
    bool m_bCancelled = false;
};

// Tab and Shift+Tab in an editor belong to the grid's navigation, not to the focus chain: the
// editors take them in event() before the widget would move the focus.
inline QKeyEvent *GridTabKeyPress(QEvent *pEvent)
{
    if (pEvent->type() != QEvent::KeyPress)
        return nullptr;
    auto *pKey = static_cast<QKeyEvent *>(pEvent);
    return pKey->key() == Qt::Key_Tab || pKey->key() == Qt::Key_Backtab ? pKey : nullptr;
}
