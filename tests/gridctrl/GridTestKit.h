#pragma once

// A grid list over a small table of texts, as an owner would set one up, shown offscreen.

#include "GridListView.h"

#include <QSize>
#include <QStringList>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

struct ColumnSpec {
    int nId;
    const char *pszCaption;
    quint32 dwFlags;
    int nWidth;
    int nFormat = LVCFMT_LEFT;
};

// The owner's side: rows of texts by column id; a row's datum is its index in `rows` plus one,
// so it stays with the row however the list is sorted.
class TestList : public CGridListView
{
public:
    TestList();

    void SetColumns(const std::vector<ColumnSpec> &columns);
    void Fill(const std::vector<QStringList> &texts);
    // The owner's row shown at list row nRow.
    const QStringList &OwnerRow(int nRow) const;
    // The first column of every row, as the list shows them.
    QStringList ShownColumn(int nPos) const;

    std::vector<QStringList> rows;
    // Colours the owner gives column ids 1 and 2; column 0 is bold.
    QColor crName{0, 0, 255};
    QColor crValue{255, 0, 0};
    QStringList choices{"One", "Two", "Three"};
    // Answer a choices request even with no choices to give.
    bool bAnswerWithoutChoices = false;
    bool bAnswerCommits = true;
    bool bAppendAdds = true;
    int nAppendCalls = 0;
    // Commit requests the owner received, answered or not.
    int nCommits = 0;
    // What an open editor held, as the list passed it on.
    QStringList editorTexts;
    std::vector<std::pair<int, int>> hits;
    struct Tip {
        QRect rect;
        QString strText;
        int nOffset;
    };
    std::vector<Tip> tips;

    using CGridListView::keyPressEvent;

protected:
    int OnAppendRow() override;
    void OnCellHit(int nRow, int nPos) override { hits.emplace_back(nRow, nPos); }
    void ShowEditorText(int, int, const QString &strText) override { editorTexts << strText; }
    void ShowCellTip(const QRect &rect, const QString &strText, int nOffset) override
    {
        tips.push_back({rect, strText, nOffset});
    }

private:
    bool Answer(GridCellFormat &request);
};

// nCount rows of the three columns: "One", the row's number, "value " and the number.
std::vector<QStringList> NumberedRows(int nCount);

// A shown, focused list of three columns (ids 0, 1, 2: a choice column, and two text columns
// that sort as numbers) in a window of its own.
class GridTest : public ::testing::Test
{
protected:
    GridTest();

    // The centre of cell (nRow, nPos).
    QPoint CellCenter(int nRow, int nPos) const;
    void Click(int nRow, int nPos);
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // The list painted into an image of its viewport.
    QImage Paint();

    std::unique_ptr<QWidget> m_pWindow;
    TestList *m_pList = nullptr;
};
