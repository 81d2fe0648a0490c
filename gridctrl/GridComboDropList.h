#pragma once

#include <QListWidget>

class CGridComboEdit;

// The drop list of a choice editor: the choices sorted, under the editor and as wide as it.
// A click or Enter chooses the selected entry; Escape closes the list and chooses nothing.
class CGridComboDropList : public QListWidget
{
    Q_OBJECT

public:
    static constexpr int kMaxHeight = 100;

    CGridComboDropList(CGridComboEdit *pOwner, QWidget *pParent);

    // The entry selected when the list lost the focus last.
    int GetRememberedIndex() const { return m_nRemembered; }
    const QString &GetRememberedText() const { return m_strRemembered; }

protected:
    void keyPressEvent(QKeyEvent *pEvent) override;
    void mouseReleaseEvent(QMouseEvent *pEvent) override;
    void focusOutEvent(QFocusEvent *pEvent) override;

private:
    void Choose();

    CGridComboEdit *const m_pOwner;
    int m_nRemembered = -1;
    QString m_strRemembered;
};
