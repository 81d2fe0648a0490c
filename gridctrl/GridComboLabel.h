#pragma once

#include <QWidget>

// The current choice of a list-only choice editor: its text on the window colour, drawn from
// the top left. Clicks go through to the editor.
class CGridComboLabel : public QWidget
{
    Q_OBJECT

public:
    explicit CGridComboLabel(QWidget *pParent);

    void SetText(const QString &strText);
    const QString &GetText() const { return m_strText; }
    void SetTextColor(const QColor &crText);

protected:
    void paintEvent(QPaintEvent *pEvent) override;

private:
    QString m_strText;
    QColor m_crText;
};
