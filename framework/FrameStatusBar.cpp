#include "FrameStatusBar.h"

#include <QLabel>

namespace
{
constexpr int kIndicatorPadding = 8;
}

CFrameStatusBar::CFrameStatusBar(QWidget *pParent)
    : QStatusBar(pParent), m_pMessage(new QLabel(this))
{
    m_pMessage->setTextFormat(Qt::PlainText);
    addWidget(m_pMessage, 1);
}

void CFrameStatusBar::SetMessage(const QString &strText)
{
    m_pMessage->setText(strText);
    if (m_pMessage->isVisible())
        m_pMessage->repaint();
}

QString CFrameStatusBar::GetMessage() const
{
    return m_pMessage->text();
}

void CFrameStatusBar::SetIndicators(const std::vector<CIndicatorDef> &indicators)
{
    for (const Indicator &indicator : m_indicators) {
        removeWidget(indicator.pLabel);
        delete indicator.pLabel;
    }
    m_indicators.clear();
    for (const CIndicatorDef &def : indicators) {
        auto *pLabel = new QLabel(this);
        pLabel->setTextFormat(Qt::PlainText);
        pLabel->setAlignment(Qt::AlignCenter);
        pLabel->setFixedWidth(pLabel->fontMetrics().horizontalAdvance(def.text) +
                              kIndicatorPadding);
        pLabel->setFrameShape(QFrame::StyledPanel);
        addPermanentWidget(pLabel);
        m_indicators.push_back({def.nID, def.text, pLabel});
    }
}

void CFrameStatusBar::SetIndicatorOn(int nID, bool bOn)
{
    for (const Indicator &indicator : m_indicators) {
        if (indicator.nID == nID)
            indicator.pLabel->setText(bOn ? indicator.text : QString());
    }
}

QString CFrameStatusBar::GetIndicatorText(int nID) const
{
    for (const Indicator &indicator : m_indicators) {
        if (indicator.nID == nID)
            return indicator.pLabel->text();
    }
    return {};
}
