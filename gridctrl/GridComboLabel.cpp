#include "GridComboLabel.h"

#include <QPainter>

CGridComboLabel::CGridComboLabel(QWidget *pParent) : QWidget(pParent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_crText = palette().color(QPalette::Text);
}

void CGridComboLabel::SetText(const QString &strText)
{
    m_strText = strText;
    update();
}

void CGridComboLabel::SetTextColor(const QColor &crText)
{
    m_crText = crText;
    update();
}

void CGridComboLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    painter.setPen(m_crText);
    painter.setFont(font());
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, m_strText);
}
