#pragma once

#include <QPointer>
#include <QWidget>

// A ring in the highlight colour around the pane that has the keyboard, so that after F6 or
// a click the user sees where keys go. It lies on the pane's edge as the topmost child of
// the pane and lets the mouse through. The pane owns it: it goes when the pane goes.
class CFocusFrame : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kRingWidth = 2;

    explicit CFocusFrame(QWidget *pPane);
    ~CFocusFrame() override;

    // Moves the ring to `pPane` (not null) and shows it there; hide() takes it away.
    void SetPane(QWidget *pPane);
    // The pane the ring is drawn on, or null.
    QWidget *GetPane() const { return m_pPane; }

protected:
    void paintEvent(QPaintEvent *pEvent) override;
    bool eventFilter(QObject *pWatched, QEvent *pEvent) override;

private:
    void FitToPane();

    QPointer<QWidget> m_pPane;
};
