#include "GridIconMenu.h"

#include <QAction>
#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOption>
#include <map>

namespace
{
std::map<int, GridToolBarImages> &ToolBars()
{
    static std::map<int, GridToolBarImages> toolBars;
    return toolBars;
}

constexpr int kPanelWidth = 2;

// Gives the menu the sizes its own drawing needs.
class CIconMenuStyle : public QProxyStyle
{
public:
    explicit CIconMenuStyle(const CGridIconMenu *pMenu) : m_pMenu(pMenu) {}

    QSize sizeFromContents(ContentsType type, const QStyleOption *pOption, const QSize &size,
                           const QWidget *pWidget) const override
    {
        const auto *pItem = qstyleoption_cast<const QStyleOptionMenuItem *>(pOption);
        if (type != CT_MenuItem || pItem == nullptr)
            return QProxyStyle::sizeFromContents(type, pOption, size, pWidget);
        CGridIconMenu::IconMenuItem item;
        if (pItem->menuItemType == QStyleOptionMenuItem::Separator) {
            item.nId = CGridIconMenu::kSeparator;
            item.nImage = CGridIconMenu::kSeparator;
        }
        item.strText = pItem->text;
        return m_pMenu->MeasureItem(item);
    }

    int pixelMetric(PixelMetric metric, const QStyleOption *pOption,
                    const QWidget *pWidget) const override
    {
        switch (metric) {
        case PM_MenuPanelWidth:
            return kPanelWidth;
        case PM_MenuHMargin:
        case PM_MenuVMargin:
            return 1;
        case PM_MenuDesktopFrameWidth:
            return 0;
        default:
            return QProxyStyle::pixelMetric(metric, pOption, pWidget);
        }
    }

private:
    const CGridIconMenu *m_pMenu;
};
} // namespace

void DrawGridFrame3D(QPainter &painter, const QRect &rect, const QColor &crTopLeft,
                     const QColor &crBottomRight)
{
    const QRect frame = rect.adjusted(0, 0, -1, -1);
    painter.save();
    painter.setPen(crTopLeft);
    painter.drawLine(frame.topLeft(), frame.topRight());
    painter.drawLine(frame.topLeft(), frame.bottomLeft());
    painter.setPen(crBottomRight);
    painter.drawLine(frame.bottomLeft(), frame.bottomRight());
    painter.drawLine(frame.topRight(), frame.bottomRight());
    painter.restore();
}

CGridIconMenu::CGridIconMenu(QWidget *pParent) : QMenu(pParent)
{
    const QPalette &pal = palette();
    m_crText = pal.color(QPalette::Active, QPalette::WindowText);
    m_crSelText = pal.color(QPalette::Active, QPalette::HighlightedText);
    m_crImageBack = pal.color(QPalette::Active, QPalette::Button);
    m_crMenuBack = pal.color(QPalette::Active, QPalette::Window);
    m_crSelBack = pal.color(QPalette::Active, QPalette::Highlight);
    m_crLight = pal.color(QPalette::Active, QPalette::Light);
    m_crDark = pal.color(QPalette::Active, QPalette::Dark);
    m_crGray = pal.color(QPalette::Disabled, QPalette::WindowText);
    m_fontMenu = QApplication::font("QMenu");
    m_fontBold = ItemFont();
    m_fontBold.setWeight(QFont::Bold);
    auto *pStyle = new CIconMenuStyle(this);
    pStyle->setParent(this);
    setStyle(pStyle);
}

CGridIconMenu::~CGridIconMenu() = default;

void CGridIconMenu::RegisterToolBar(int nResourceId, const GridToolBarImages &toolBar)
{
    ToolBars()[nResourceId] = toolBar;
}

void CGridIconMenu::UnregisterToolBar(int nResourceId)
{
    ToolBars().erase(nResourceId);
}

QAction *CGridIconMenu::AppendCommand(int nId, const QString &strText)
{
    QAction *pAction = addAction(strText);
    pAction->setData(nId);
    return pAction;
}

void CGridIconMenu::AppendSeparator()
{
    addSeparator();
}

int CGridIconMenu::CommandOf(const QAction *pAction)
{
    return pAction->isSeparator() ? 0 : pAction->data().toInt();
}

bool CGridIconMenu::LoadToolBarImages(int nResourceId)
{
    const auto found = ToolBars().find(nResourceId);
    if (found == ToolBars().end() || found->second.strip.isNull() ||
        found->second.buttonSize.isEmpty())
        return false;
    const GridToolBarImages &toolBar = found->second;
    m_imageSize = toolBar.buttonSize;
    m_images.clear();
    m_imageOfCommand.clear();
    const qreal dpr = toolBar.strip.devicePixelRatio();
    for (const int nId : toolBar.commandIds) {
        if (nId == 0)
            continue;
        const int nIndex = static_cast<int>(m_images.size());
        const QRect source(QPoint(qRound(nIndex * m_imageSize.width() * dpr), 0),
                           m_imageSize * dpr);
        QPixmap image = toolBar.strip.copy(source);
        image.setDevicePixelRatio(dpr);
        m_images.append(image);
        m_imageOfCommand.emplace_back(nIndex, nId);
    }
    return true;
}

void CGridIconMenu::MakeOwnerDrawn()
{
    m_items.clear();
    for (const QAction *pAction : actions()) {
        IconMenuItem item;
        if (pAction->isSeparator()) {
            item.nImage = kSeparator;
            item.nId = kSeparator;
            item.strText = QStringLiteral("--");
        } else {
            item.nId = CommandOf(pAction);
            item.strText = pAction->text().left(kMaxText);
            for (const auto &[nImage, nId] : m_imageOfCommand) {
                if (nId == item.nId) {
                    item.nImage = nImage;
                    break;
                }
            }
        }
        m_items.push_back(item);
    }
}

const CGridIconMenu::IconMenuItem *CGridIconMenu::ItemOf(const QAction *pAction) const
{
    const qsizetype nIndex = actions().indexOf(const_cast<QAction *>(pAction));
    if (nIndex < 0 || static_cast<size_t>(nIndex) >= m_items.size())
        return nullptr;
    return &m_items[static_cast<size_t>(nIndex)];
}

void CGridIconMenu::UpdateItemStates(CGridMenuTarget &target)
{
    for (QAction *pAction : actions()) {
        if (pAction->isSeparator())
            continue;
        bool bEnable = false;
        if (!target.OnUpdateMenuCommand(CommandOf(pAction), bEnable))
            bEnable = false;
        pAction->setEnabled(bEnable);
    }
}

void CGridIconMenu::Track(const QPoint &ptGlobal, CGridMenuTarget &target)
{
    if (QAction *pChosen = exec(ptGlobal); pChosen != nullptr && pChosen->isEnabled())
        target.OnMenuCommand(CommandOf(pChosen));
}

void CGridIconMenu::SetCustomFont(const QFont &font)
{
    m_fontCustom = font;
    m_fontBold = font;
    m_fontBold.setWeight(QFont::Bold);
}

QFont CGridIconMenu::ItemFont() const
{
    return m_fontCustom.value_or(m_fontMenu);
}

QSize CGridIconMenu::MeasureItem(const IconMenuItem &item) const
{
    if (item.nId == kSeparator)
        return {10, 6};
    if (item.strText.isEmpty())
        return {100, m_imageSize.height() + 5};
    const QFontMetrics metrics(ItemFont());
    const QRect extent = metrics.boundingRect(
        QRect(0, 0, 10000, 1000), Qt::TextExpandTabs | Qt::TextSingleLine, item.strText);
    const int nHeight = std::max(m_imageSize.height() + 5, extent.height());
    return {extent.width() + 17 + std::max(m_imageSize.width(), nHeight), nHeight};
}

void CGridIconMenu::DrawItemText(QPainter &painter, const QRect &rect, const QString &strText) const
{
    const int nTab = static_cast<int>(strText.indexOf(QLatin1Char('\t')));
    constexpr int kFlags = Qt::AlignVCenter | Qt::TextShowMnemonic | Qt::TextSingleLine;
    if (nTab < 0) {
        painter.drawText(rect, kFlags | Qt::AlignLeft | Qt::TextExpandTabs, strText);
        return;
    }
    painter.drawText(rect, kFlags | Qt::AlignLeft, strText.left(nTab));
    painter.drawText(rect, kFlags | Qt::AlignRight, strText.mid(nTab + 1));
}

void CGridIconMenu::DrawItem(QPainter &painter, const QRect &rect, const IconMenuItem &item,
                             bool bSelected, bool bDisabled, bool bChecked, bool bDefault) const
{
    painter.save();
    painter.setFont(bDefault ? m_fontBold : ItemFont());
    const QRect rectImage(rect.topLeft(), QSize(rect.height(), rect.height()));
    QRect rectText = rect;
    rectText.setLeft(rectImage.right() + 2);

    if (item.nId == kSeparator) {
        const int nLeft = rect.left() + 2;
        const int nRight = rect.right() - 2;
        painter.setPen(m_crDark);
        painter.drawLine(nLeft, rect.top() + 2, nRight, rect.top() + 2);
        painter.setPen(m_crLight);
        painter.drawLine(nLeft, rect.top() + 3, nRight, rect.top() + 3);
        painter.restore();
        return;
    }

    const bool bHasImage = item.nImage >= 0 && item.nImage < m_images.size();
    const QRect rectFill = !bHasImage && !bChecked ? rect : rectText;
    painter.fillRect(rectFill, bSelected ? m_crSelBack : m_crMenuBack);
    QColor crText = bSelected ? m_crSelText : m_crText;

    if (bHasImage) {
        if (bSelected && !bDisabled)
            DrawGridFrame3D(painter, rectImage, m_crLight, m_crDark);
        else
            DrawGridFrame3D(painter, rectImage, m_crMenuBack, m_crMenuBack);
        QPixmap image = m_images[item.nImage];
        if (bDisabled) {
            QStyleOption option;
            option.initFrom(this);
            image = style()->generatedIconPixmap(QIcon::Disabled, image, &option);
        }
        const QSize size = image.deviceIndependentSize().toSize();
        painter.drawPixmap(QRect(QPoint(rectImage.left() + (rectImage.width() - size.width()) / 2,
                                        rectImage.top() + (rectImage.height() - size.height()) / 2),
                                 size),
                           image);
    }

    const QRect rectLabel = rectText.adjusted(2, 0, -15, 0);
    if (bDisabled && !bSelected) {
        painter.setPen(m_crLight);
        DrawItemText(painter, rectLabel.adjusted(1, 1, -1, -1), item.strText);
        crText = m_crGray;
    } else if (bDisabled) {
        crText = m_crMenuBack;
    }
    painter.setPen(crText);
    DrawItemText(painter, rectLabel, item.strText);
    painter.restore();
}

void CGridIconMenu::paintEvent(QPaintEvent *pEvent)
{
    QPainter painter(this);
    painter.setClipRegion(pEvent->region());
    painter.fillRect(rect(), m_crMenuBack);
    DrawGridFrame3D(painter, rect(), m_crLight, m_crDark);
    for (QAction *pAction : actions()) {
        if (!pAction->isVisible())
            continue;
        const QRect rectItem = actionGeometry(pAction);
        if (!pEvent->rect().intersects(rectItem))
            continue;
        IconMenuItem fallback;
        const IconMenuItem *pItem = ItemOf(pAction);
        if (pItem == nullptr) {
            fallback.nId = pAction->isSeparator() ? kSeparator : CommandOf(pAction);
            fallback.nImage = pAction->isSeparator() ? kSeparator : -1;
            fallback.strText = pAction->text();
            pItem = &fallback;
        }
        DrawItem(painter, rectItem, *pItem, pAction == activeAction(), !pAction->isEnabled(),
                 pAction->isChecked(), pAction == defaultAction());
    }
}
