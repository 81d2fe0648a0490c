#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QMetaObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>

// The cell tip: when a grid cell's text does not fit its column, the whole text is shown in a
// small window laid exactly over the cell, in the cell's font and at the cell's text position,
// so the text seems to grow out of the cell. It has no timer: it goes away on the first mouse
// move out of the cell (a pixel of slack above, left and below), on any key, on any click and
// when the list scrolls.
//
// The tip lets the pointer through, so a click on it lands on the cell beneath as if the tip
// were not there, and the list keeps receiving the mouse moves.
//
// How the list drives it, from one place (its mouse-move handler, when tips are on and it
// holds the focus): find the cell under the pointer and call Show() with the cell rectangle in
// the coordinates of the widget the cells are painted on (the viewport), the cell's text and
// font, and the inset at which the cell draws its text. Show() declines when the text fits,
// when a tip is already up, when a button is held or when the program does not have the focus.
// The tip hides itself on the events above (it watches the application's events while shown and
// the scroll bars of the view the cell belongs to); the list may also call Hide() itself, for
// instance when it refills its rows.
class CGridListTip : public QWidget
{
    Q_OBJECT

public:
    // The inset of a cell's text from its left and right edges.
    static constexpr int kTextInset = 6;
    // The tip goes on past the end of the text by this much.
    static constexpr int kTextEndPad = 3;
    // Slack around the cell above, left and below before a move hides the tip.
    static constexpr int kHoverSlack = 1;

    // pParent (the list) owns the tip; the tip is still a window of its own.
    explicit CGridListTip(QWidget *pParent);
    ~CGridListTip() override;

    // True when strText drawn in font fits the cell between the insets on both sides: the cell
    // then shows it whole and needs no tip.
    static bool TextFits(const QString &strText, const QFont &font, const QRect &cellRect,
                         int nTextInset = kTextInset);

    // Shows the tip over cellRect (in pOwner's coordinates). Invalid colours mean the tooltip
    // colours of the palette. Returns true when the tip is shown.
    bool Show(QWidget *pOwner, const QRect &cellRect, const QString &strText, const QFont &font,
              int nTextInset = kTextInset, const QColor &textColor = QColor(),
              const QColor &backColor = QColor());
    void Hide();

    const QString &GetText() const { return m_strText; }
    // The area the pointer may move in without hiding the tip, in global coordinates.
    QRect GetHoverRect() const { return m_rcHover; }

protected:
    void paintEvent(QPaintEvent *pEvent) override;
    bool eventFilter(QObject *pWatched, QEvent *pEvent) override;

private:
    void WatchScrolling(QWidget *pOwner);

    QPointer<QWidget> m_pOwner;
    QRect m_rcHover;
    QString m_strText;
    QFont m_font;
    int m_nTextInset = kTextInset;
    QColor m_textColor;
    QColor m_backColor;
    QList<QMetaObject::Connection> m_scrollWatch;
};
