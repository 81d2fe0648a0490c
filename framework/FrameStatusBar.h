#pragma once

#include <QStatusBar>
#include <QString>
#include <vector>

class QLabel;

// One indicator pane of the status bar: its id and the text it shows while it is on.
struct CIndicatorDef {
    int nID = 0;
    QString text;
};

// The main window's status bar: a message pane that takes the free width, and indicator
// panes on the right, each as wide as its text and blank while its state is off or unknown.
class CFrameStatusBar : public QStatusBar
{
    Q_OBJECT

public:
    explicit CFrameStatusBar(QWidget *pParent);

    // Shows `strText` in the message pane at once, also in the middle of a long operation.
    void SetMessage(const QString &strText);
    QString GetMessage() const;

    void SetIndicators(const std::vector<CIndicatorDef> &indicators);
    void SetIndicatorOn(int nID, bool bOn);
    // The text the indicator shows now ("" while off), or "" for an unknown id.
    QString GetIndicatorText(int nID) const;

private:
    struct Indicator {
        int nID;
        QString text;
        QLabel *pLabel;
    };

    QLabel *m_pMessage;
    std::vector<Indicator> m_indicators;
};
