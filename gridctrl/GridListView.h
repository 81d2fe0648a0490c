#pragma once

#include "GridCellFormat.h"
#include "GridColumnMasks.h"
#include "GridFontSet.h"
#include "GridHeaderState.h"
#include "GridListConstants.h"
#include "GridPrintSettings.h"

#include <QList>
#include <QPersistentModelIndex>
#include <QPixmap>
#include <QStringList>
#include <QTableView>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class CGridListModel;
class CGridListPrinter;
class ColumnDefinitionSet;

// A report list with a cell cursor: rows carry an opaque datum of the owner's and show the
// texts the owner's text function gives; columns are built from column definitions and carry
// ids 0 to 31 that key every per-column behaviour. The owner answers format, choice and commit
// questions (GridCellFormat). The list paints its rows itself, edits cells in place, sorts on
// a header click and prints itself as a ruled table. Sorting and column moves change only
// what is shown: the owner's rows keep their own order.
class CGridListView : public QTableView
{
    Q_OBJECT

public:
    // The owner's text of the cell (nRow, column position nPos) of the row with nDatum.
    using CellTextFn = std::function<void(int nRow, int nPos, quintptr nDatum, QString &strText)>;
    // The owner's answer to a request; true when it answered.
    using CellFormatFn = std::function<bool(GridCellFormat &request)>;
    enum class EditorKind { None, Text, List, Combo };

    explicit CGridListView(QWidget *pParent = nullptr);
    ~CGridListView() override;

    // Rows. Row numbers are positions in the list as shown.
    // Inserts a row at nPos (past the end: appends); returns the position used.
    int InsertRowItem(int nPos, quintptr nDatum);
    // Replaces every row at once, in this order.
    void SetRowItems(const std::vector<quintptr> &data);
    void DeleteAllItems();
    int GetItemCount() const;
    // 0 for a row out of range.
    quintptr GetItemData(int nRow) const;
    // The row holding nDatum, or -1.
    int FindItemData(quintptr nDatum) const;
    // The text of a cell: the owner's text function when installed, else the text stored in
    // the cell. nDatum stands in for the row's own datum when given.
    void GetCellText(int nRow, int nPos, QString &strText,
                     std::optional<quintptr> nDatum = std::nullopt) const;
    QString GetCellText(int nRow, int nPos) const;
    // Stores a literal text in a cell, or makes it show the owner's text again.
    void SetCellText(int nRow, int nPos, const QString &strText);
    void ResetCellText(int nRow, int nPos);
    void ClearSelection();
    bool IsRowSelected(int nRow) const;
    // The selected rows in list order.
    std::vector<int> GetSelectedRows() const;
    int GetFirstSelectedRow() const;
    // The row with the keyboard focus (the cell cursor's row), or -1.
    int GetFocusedRow() const;
    // Selects nRow and gives it the focus; the other rows keep their selection.
    void SelectFocusedRow(int nRow);

    // Columns. Positions count from the left as shown.
    // Deletes the current definitions and returns a new empty set, owned by the list.
    ColumnDefinitionSet *CreateColumnDefinitions();
    ColumnDefinitionSet *GetColumnDefinitions() const { return m_pColumnDefs.get(); }
    // Replaces the columns by those the definitions build, with their masks.
    void ApplyColumnDefinitions();
    int GetColumnCount() const;
    // -1 for a position out of range.
    int GetColumnId(int nPos) const;
    // Position of the column with id nColumnId, or -1.
    int FindColumn(int nColumnId) const;
    int GetColumnWidth(int nPos) const;
    // LVCFMT_* alignment of the column.
    int GetColumnFormat(int nPos) const;
    QString GetColumnCaption(int nPos) const;
    const GridColumnMasks &GetColumnMasks() const { return m_masks; }
    const GridHeaderState &GetHeaderState() const { return m_headerState; }

    // Options (GLO_*) and look.
    void SetOptions(quint32 dwRemove, quint32 dwAdd);
    quint32 GetOptions() const { return m_dwOptions; }
    bool HasOption(quint32 dwOption) const { return (m_dwOptions & dwOption) != 0; }
    void SetRowHeight(int nHeight);
    int GetRowHeight() const { return m_nRowHeight; }
    // With GLO_CELLFORMAT and without GLO_FIRSTCOLFORMAT, a non-empty mask limits the format
    // requests to its column ids.
    void SetCellFormatMask(quint32 dwMask);
    quint32 GetCellFormatMask() const { return m_dwCellFormatMask; }
    // Images of image columns: a cell shows the image its text numbers.
    void SetCellImageList(const QList<QPixmap> &images);
    const QList<QPixmap> &GetCellImageList() const { return m_cellImages; }
    // The screen font the GRIDF_* flags choose: bold, italic, underline, else normal.
    const QFont &GetScreenFont(quint32 dwFlags) const;
    // The control id carried in requests.
    void SetCtrlId(int nCtrlId) { m_nCtrlId = nCtrlId; }
    int GetCtrlId() const { return m_nCtrlId; }

    // The owner.
    void SetCellTextFunction(CellTextFn fnCellText);
    void SetCellFormatFunction(CellFormatFn fnCellFormat);
    // Asks the owner: its format function when installed, else OnQueryCell.
    bool QueryOwner(GridCellFormat &request);
    // Asks the owner for the format of a cell (GRIDQ_FORMAT); true when it answered.
    bool QueryCellFormat(int nRow, int nPos, GridCellFormat &request);
    // Whether the cell (row, position) takes its format from the owner.
    bool WantsCellFormat(int nPos) const;

    // The cell cursor and hit tests (points in viewport coordinates).
    // The row hit and, in nPos, the column position; -1 without a hit. A hit is remembered in
    // m_nHitRow and m_nHitCol and reported to OnCellHit.
    int HitTestCell(const QPoint &point, int &nPos);
    // The row, position and rectangle of the cell under the point (cut at the viewport's right
    // edge), or -1.
    int GetCellRectAt(const QPoint &point, QRect &rect, int &nPos) const;
    // The cell's rectangle, one pixel less at the bottom; false, leaving rect untouched, for a
    // position out of range or a column 4 pixels wide or less.
    bool GetCellRect(int nRow, int nPos, QRect &rect) const;
    // Scrolls the column into view; false for a position out of range or a column narrower
    // than 5 pixels.
    bool EnsureColumnVisible(int nPos);
    // Position of the cell cursor within the focused row; -1 before the first move.
    int GetFocusCol() const { return m_nFocusCol; }
    void SetFocusCol(int nPos);

    // Editing in place.
    bool EditCellText(int nRow, int nPos, bool bByClick);
    bool EditCellChoice(int nRow, int nPos, bool bEditable, bool bByClick);
    // The editor of the column by its masks: text, list-only choice, editable choice.
    EditorKind EditorKindOf(int nPos) const;
    // A text editor opened on this cell cannot change the text.
    virtual bool IsCellReadOnly(int /*nRow*/, int /*nPos*/) const { return false; }
    // The open cell editor, or null.
    QWidget *GetCellEditor() const;
    bool IsEditingCell() const { return GetCellEditor() != nullptr; }
    // Commits and closes the open editor; nothing when none is open.
    void EndCellEdit();
    // The end of an edit of (nRow, nPos): a null text is a cancelled edit. Asks the owner to
    // commit (GRIDQ_COMMIT) and keeps the text in the cell when it did.
    void OnEndLabelEdit(int nRow, int nPos, const QString *pText);
    // The text an editor of (nRow, nPos) ends with: a null text is a cancelled edit. The cell
    // is the open editor's own when pEditor is the open editor.
    void CommitEditorText(QWidget *pEditor, int nRow, int nPos, const QString *pText);
    // An editor's text changed while it is open.
    void OnEditorTextChanged(QWidget *pEditor, int nRow, int nPos, const QString &strText);
    // A double click inside an editor, passed on like a double click on the list.
    void NotifyDoubleClick();
    // A cell move asked for by the editor of (nRow, nPos): NAV_*.
    void OnGridNavigate(int nCode, int nRow, int nPos);
    // Ends the open editor `pEditor` (committing its text unless bCommit is false), then moves
    // as the NAV_* code nCode says; a negative code moves nothing.
    void EndEditAndNavigate(QWidget *pEditor, int nCode, bool bCommit = true);
    // While an editor opens: whether a click opened it, its kind, and a choice editor's
    // choices.
    bool IsOpeningByClick() const { return m_bOpeningByClick; }
    EditorKind GetOpeningKind() const { return m_openingKind; }
    const QStringList &GetOpeningChoices() const { return m_openingChoices; }
    // The last left-button release point, where a click-opened editor puts its caret.
    QPoint GetLastClickPoint() const { return m_ptLastClick; }

    // Sorts the rows as shown by the column at nPos (a header click).
    void SortByColumn(int nPos);
    // Moves the column at nFrom before the column at nTo. Column 0 stays; a target of 0
    // becomes 1. The adjusted positions are left in the arguments.
    void MoveColumn(int &nFrom, int &nTo);

    // Printing onto pages of rectPage (the printable area, in the painter's device pixels).
    // Returns the page count.
    int OnBeginPrinting(QPainter *pPainter, const QRect &rectPage);
    void OnPrint(QPainter *pPainter, const QRect &rectPage, int nPage);
    void OnEndPrinting();
    const GridPrintSettings &GetPrintSettings() const { return m_print; }

    // The last cell hit; -1 before the first hit.
    int m_nHitRow = -1;
    int m_nHitCol = -1;

protected:
    // Called when Tab leaves the last cell of the last row; returns nonzero when it added a row.
    virtual int OnAppendRow() { return 0; }
    // A cell was hit, or an editor moved the cursor to it: the owner may show it elsewhere.
    virtual void OnCellHit(int /*nRow*/, int /*nPos*/) {}
    // The open editor of the cell holds strText now (typed or chosen, not yet committed).
    virtual void ShowEditorText(int /*nRow*/, int /*nPos*/, const QString & /*strText*/) {}
    // The cell editor closed, its text committed or dropped.
    virtual void OnEditorClosed() {}
    // The owner's answer when no format function is installed.
    virtual bool OnQueryCell(GridCellFormat & /*request*/) { return false; }
    // Where the cell tip is shown: the whole text of a cell over the cell's rectangle,
    // drawn nOffset pixels in. The list has no tip window of its own.
    virtual void ShowCellTip(const QRect &rectCell, const QString &strText, int nOffset);
    // Hides a tip shown by ShowCellTip.
    virtual void HideCellTip();

    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *pEvent) override;
    void closeEditor(QWidget *pEditor, QAbstractItemDelegate::EndEditHint hint) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void paintEvent(QPaintEvent *pEvent) override;
    void mousePressEvent(QMouseEvent *pEvent) override;
    void mouseReleaseEvent(QMouseEvent *pEvent) override;
    void mouseMoveEvent(QMouseEvent *pEvent) override;
    void keyPressEvent(QKeyEvent *pEvent) override;
    void focusInEvent(QFocusEvent *pEvent) override;
    void focusOutEvent(QFocusEvent *pEvent) override;
    void scrollContentsBy(int dx, int dy) override;
    void changeEvent(QEvent *pEvent) override;

private:
    // The one place that makes the list's header.
    static QHeaderView *CreateHeader(CGridListView *pList);
    void SetUpHeader();
    void MakeScreenFonts();
    int LogicalColumn(int nPos) const;
    QRect RowRect(int nRow) const;
    void UpdateRow(int nRow);
    void UpdateSortIndicator();

    // Mouse and keys.
    // Remembers the hit cell and reports it to OnCellHit.
    void RecordHit(int nRow, int nPos);
    void OnClick(const QPoint &point, bool bOnFocusedRow);
    bool OnEnterKey();
    void MoveFocusColByKey(int nStep);
    bool OpenEditorByMasks(int nRow, int nPos, bool bByClick);
    // Opens the editor of `kind` on the cell; `trigger` and `pEvent` are what asked for it
    // (a key typed into the cell reaches the new editor).
    bool OpenEditor(int nRow, int nPos, EditorKind kind, bool bByClick, EditTrigger trigger,
                    QEvent *pEvent);
    bool CanEditCell(int nRow, int nPos);
    void OnCellTipTrigger(const QPoint &point);

    // Editor navigation.
    bool NavigateNext(int nRow, int nPos);
    void NavigatePrev(int nRow, int nPos);
    void NavigateRow(int nStep);
    void MoveToEditableCell(int nRow, int nPos);
    void CommitForRow(int nRow, int nPos, const QString &strText);

    // Header behaviour.
    void OnSectionMoved(int nLogical, int nOldVisual, int nNewVisual);
    void OnSectionResized(int nLogical, int nOldSize, int nNewSize);

    CGridListModel *const m_pModel;
    std::unique_ptr<ColumnDefinitionSet> m_pColumnDefs;
    GridColumnMasks m_masks;
    GridHeaderState m_headerState;
    // Made on first use; a child of the list.
    class CGridListTip *m_pTip = nullptr;
    quint32 m_dwOptions = GLO_DEFAULT;
    quint32 m_dwCellFormatMask = 0;
    int m_nFocusCol = -1;
    int m_nRowHeight = 17;
    int m_nCtrlId = 0;
    GridFontSet m_screenFonts;
    QList<QPixmap> m_cellImages;
    CellTextFn m_pfnCellText;
    CellFormatFn m_pfnCellFormat;
    GridPrintSettings m_print;
    std::unique_ptr<CGridListPrinter> m_pPrinter;

    // The cell whose editor is open, and how the editor being opened was asked for.
    QPersistentModelIndex m_editIndex;
    EditorKind m_openingKind = EditorKind::None;
    bool m_bOpeningByClick = false;
    QStringList m_openingChoices;
    // A left press on the focused row makes its click an edit.
    QPersistentModelIndex m_pressIndex;
    bool m_bPressOnFocusedRow = false;
    QPoint m_ptLastClick;
    // Set while the list itself moves or resizes header sections.
    bool m_bArrangingHeader = false;
};
