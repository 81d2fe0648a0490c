#include "GridComboEdit.h"

#include "GridComboDropList.h"
#include "GridComboEditField.h"
#include "GridComboLabel.h"
#include "GridIconMenu.h"
#include "GridListView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

CGridComboEdit::CGridComboEdit(CGridListView *pList, int nRow, int nPos, const QString &strText,
                               const QStringList &choices, bool bEditable, bool bByClick,
                               QWidget *pParent)
    : QWidget(pParent), m_pList(pList), m_nRow(nRow), m_nPos(nPos), m_strInitial(strText),
      m_choices(choices), m_bEditable(bEditable), m_bByClick(bByClick)
{
    setObjectName(QStringLiteral("IDC_GRID_INPLACE_%1").arg(IDC_GRID_INPLACE));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_nButtonWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    m_font = pList->font();
    m_crText = palette().color(QPalette::Text);
    connect(qApp, &QApplication::focusChanged, this, &CGridComboEdit::OnFocusChanged);
}

CGridComboEdit::~CGridComboEdit()
{
    delete m_pDropList.data();
}

void CGridComboEdit::Start()
{
    setFont(m_font);
    const QRect rectChild(0, 0, std::max(0, width() - m_nButtonWidth), height());
    if (m_bEditable) {
        m_pField = new CGridComboEditField(this, m_bByClick);
        m_pField->setObjectName(QStringLiteral("IDC_GRID_INPLACE_%1").arg(IDC_GRID_INPLACE + 1));
        m_pField->setFont(m_font);
        QPalette pal = m_pField->palette();
        pal.setColor(QPalette::Text, m_crText);
        m_pField->setPalette(pal);
        m_pField->setGeometry(rectChild);
        m_pField->show();
        setFocusProxy(m_pField);
        connect(m_pField, &QLineEdit::textEdited, this, &CGridComboEdit::AutoComplete);
        connect(m_pField, &QLineEdit::textChanged, this, [this](const QString &strNow) {
            if (!IsClosed())
                m_pList->OnEditorTextChanged(this, m_nRow, m_nPos, strNow);
        });
    } else {
        m_pLabel = new CGridComboLabel(this);
        m_pLabel->setObjectName(QStringLiteral("IDC_GRID_INPLACE_%1").arg(IDC_GRID_INPLACE + 1));
        m_pLabel->setFont(m_font);
        m_pLabel->SetTextColor(m_crText);
        m_pLabel->setGeometry(rectChild);
        m_pLabel->show();
    }
    for (int i = 0; i < m_choices.size(); ++i) {
        if (!m_choices[i].isEmpty() && m_choices[i] == m_strInitial) {
            m_nCurrent = i;
            break;
        }
    }
    if (m_pField != nullptr)
        m_pField->Start(m_strInitial);
    else
        m_pLabel->SetText(m_strInitial);
    setFocus(Qt::OtherFocusReason);
}

QRect CGridComboEdit::ButtonRect() const
{
    return {width() - m_nButtonWidth, 0, m_nButtonWidth, height()};
}

void CGridComboEdit::resizeEvent(QResizeEvent *)
{
    const QRect rectChild(0, 0, std::max(0, width() - m_nButtonWidth), height());
    if (m_pField != nullptr)
        m_pField->setGeometry(rectChild);
    if (m_pLabel != nullptr)
        m_pLabel->setGeometry(rectChild);
}

void CGridComboEdit::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPalette &pal = palette();
    const QRect rectButton = ButtonRect();
    painter.fillRect(rect().adjusted(0, 0, -m_nButtonWidth, 0), pal.color(QPalette::Base));
    painter.fillRect(rectButton, pal.color(QPalette::Button));
    QStyleOption arrow;
    arrow.initFrom(this);
    arrow.rect = rectButton.adjusted(3, 3, -3, -3);
    arrow.palette.setColor(QPalette::ButtonText, pal.color(QPalette::ButtonText));
    style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, &painter, this);
    // Pressed while the list is down, raised otherwise.
    DrawGridFrame3D(painter, rectButton, pal.color(IsDropped() ? QPalette::Dark : QPalette::Light),
                    pal.color(IsDropped() ? QPalette::Light : QPalette::Dark));
}

void CGridComboEdit::mousePressEvent(QMouseEvent *pEvent)
{
    if (ButtonRect().contains(pEvent->position().toPoint()) && !m_choices.isEmpty())
        ToggleDropList();
    else if (IsDropped())
        CloseDropList(true);
    update(ButtonRect());
    // The click is the editor's: it must not reach the list beneath.
    pEvent->accept();
}

void CGridComboEdit::ToggleDropList()
{
    if (IsDropped()) {
        CloseDropList(true);
        return;
    }
    if (m_choices.isEmpty())
        return;
    QWidget *pViewport = m_pList->viewport();
    auto *pList = new CGridComboDropList(this, pViewport);
    pList->setObjectName(QStringLiteral("IDC_GRID_INPLACE_%1").arg(IDC_GRID_INPLACE + 2));
    pList->setFont(m_pList->font());
    pList->addItems(m_choices);
    pList->sortItems(Qt::AscendingOrder);
    const int nFrame = 2 * pList->frameWidth();
    const int nItem = std::max(1, pList->sizeHintForRow(0));
    const int nHeight = std::min(CGridComboDropList::kMaxHeight,
                                 nItem * static_cast<int>(m_choices.size()) + nFrame);
    const QPoint ptBelow = mapTo(pViewport, QPoint(0, height()));
    int nTop = ptBelow.y();
    // A list that would run off the bottom of the rows opens above the editor instead.
    if (nTop + nHeight > pViewport->height() && mapTo(pViewport, QPoint(0, 0)).y() >= nHeight)
        nTop = mapTo(pViewport, QPoint(0, 0)).y() - nHeight;
    pList->setGeometry(ptBelow.x(), nTop, width(), nHeight);
    const QString strShown = GetEditText();
    const QList<QListWidgetItem *> exact = pList->findItems(strShown, Qt::MatchExactly);
    if (!exact.isEmpty())
        pList->setCurrentItem(exact.front());
    m_pDropList = pList;
    pList->show();
    pList->raise();
    pList->setFocus(Qt::OtherFocusReason);
    update(ButtonRect());
}

void CGridComboEdit::CloseDropList(bool bFocusBack)
{
    if (!IsDropped())
        return;
    CGridComboDropList *pList = m_pDropList;
    m_pDropList = nullptr;
    if (bFocusBack && pList->hasFocus())
        setFocus(Qt::OtherFocusReason);
    pList->hide();
    pList->deleteLater();
    update(ButtonRect());
}

void CGridComboEdit::OnDropListChoice(int nIndex, const QString &strText)
{
    setFocus(Qt::OtherFocusReason);
    SetChoice(nIndex, strText);
    CloseDropList(false);
}

void CGridComboEdit::ShowText(const QString &strText)
{
    if (m_pField != nullptr) {
        m_pField->setText(strText);
    } else if (m_pLabel != nullptr) {
        m_pLabel->SetText(strText);
        if (!IsClosed())
            m_pList->OnEditorTextChanged(this, m_nRow, m_nPos, strText);
    }
}

void CGridComboEdit::SetChoice(int nIndex, const QString &strText)
{
    ShowText(strText);
    if (nIndex >= 0)
        m_nCurrent = nIndex;
}

void CGridComboEdit::SelectChoice(int nIndex)
{
    if (nIndex < 0 || nIndex >= m_choices.size())
        return;
    m_nCurrent = nIndex;
    ShowText(m_choices[nIndex]);
}

void CGridComboEdit::TypeAhead(QChar ch)
{
    const int nCount = static_cast<int>(m_choices.size());
    const int nFrom = std::max(0, m_nCurrent);
    for (int n = 0; n < nCount; ++n) {
        const int i = (nFrom + n) % nCount;
        if (!m_choices[i].isEmpty() && m_choices[i].front() == ch) {
            SelectChoice(i);
            return;
        }
    }
}

void CGridComboEdit::AutoComplete()
{
    if (!m_bAutoComplete || m_pField == nullptr)
        return;
    if (m_pField->TakeSuppressAutoComplete())
        return;
    const QString strTyped = m_pField->text();
    for (const QString &strChoice : std::as_const(m_choices)) {
        if (strChoice.size() >= strTyped.size() &&
            strChoice.startsWith(strTyped, Qt::CaseInsensitive)) {
            if (strChoice != strTyped) {
                m_pField->setText(strChoice);
                m_pField->setSelection(static_cast<int>(strTyped.size()),
                                       static_cast<int>(strChoice.size() - strTyped.size()));
            }
            return;
        }
    }
}

bool CGridComboEdit::event(QEvent *pEvent)
{
    if (QKeyEvent *pTab = GridTabKeyPress(pEvent)) {
        keyPressEvent(pTab);
        return true;
    }
    return QWidget::event(pEvent);
}

void CGridComboEdit::keyPressEvent(QKeyEvent *pEvent)
{
    if (!HandleKey(pEvent, false))
        QWidget::keyPressEvent(pEvent);
}

bool CGridComboEdit::HandleKey(QKeyEvent *pEvent, bool bFromField)
{
    switch (pEvent->key()) {
    case Qt::Key_Up:
        SelectChoice(m_nCurrent - 1);
        return true;
    case Qt::Key_Down:
        SelectChoice(m_nCurrent + 1);
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
        // The field moves its caret with them.
        if (bFromField)
            return false;
        NavigateAway(pEvent->key() == Qt::Key_Left ? NAV_LEFT : NAV_RIGHT);
        return true;
    case Qt::Key_Tab:
        NavigateAway((pEvent->modifiers() & Qt::ShiftModifier) != 0 ? NAV_PREV : NAV_NEXT);
        return true;
    case Qt::Key_Backtab:
        NavigateAway(NAV_PREV);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Commit();
        LeaveToList();
        return true;
    case Qt::Key_Escape:
        m_bCancelled = true;
        LeaveToList();
        return true;
    default:
        break;
    }
    if (!m_bEditable) {
        const int nKey = pEvent->key();
        if ((nKey >= Qt::Key_A && nKey <= Qt::Key_Z) || (nKey >= Qt::Key_0 && nKey <= Qt::Key_9)) {
            // The key's code (an upper-case letter) first, then the character typed.
            TypeAhead(QChar(nKey));
            if (!pEvent->text().isEmpty())
                TypeAhead(pEvent->text().front());
            return true;
        }
    }
    return false;
}

QString CGridComboEdit::GetEditText() const
{
    if (m_pLabel != nullptr)
        return m_pLabel->GetText();
    if (m_pField != nullptr)
        return m_pField->text();
    return m_strLastText;
}

void CGridComboEdit::Commit(const QString *pGiven)
{
    const QString strText = pGiven != nullptr ? *pGiven : GetEditText();
    if (strText == m_strInitial)
        return;
    m_strInitial = strText;
    m_pList->CommitEditorText(this, m_nRow, m_nPos, m_bCancelled ? nullptr : &strText);
}

void CGridComboEdit::NavigateAway(int nCode)
{
    Commit();
    CloseDropList(false);
    m_pList->EndEditAndNavigate(this, nCode, false);
}

void CGridComboEdit::LeaveToList()
{
    CloseDropList(false);
    m_pList->setFocus(Qt::OtherFocusReason);
    // Without an active window the focus does not move: end the edit here.
    if (!IsClosed())
        End();
}

void CGridComboEdit::End()
{
    if (IsClosed())
        return;
    if (!m_bCancelled) {
        if (m_pField != nullptr) {
            m_strLastText = m_pField->text();
            Commit(&m_strLastText);
        } else {
            Commit();
        }
    }
    CloseDropList(false);
    m_pList->EndEditAndNavigate(this, -1, false);
}

bool CGridComboEdit::IsOwnWidget(const QWidget *pWidget) const
{
    return pWidget != nullptr && (pWidget == this || isAncestorOf(pWidget) ||
                                  (m_pDropList != nullptr &&
                                   (pWidget == m_pDropList || m_pDropList->isAncestorOf(pWidget))));
}

void CGridComboEdit::OnFocusChanged(QWidget *pOld, QWidget *pNow)
{
    if (IsClosed())
        return;
    if (IsOwnWidget(pNow)) {
        // The focus left the drop list for the editor or its field: the list goes.
        if (m_pDropList != nullptr && pOld == m_pDropList && pNow != m_pDropList)
            CloseDropList(false);
        return;
    }
    if (!IsOwnWidget(pOld))
        return;
    // A context menu borrows the focus for a moment, and a window the user switches away from
    // gives it back on return: neither ends the edit.
    if (pNow == nullptr)
        return;
    End();
}
