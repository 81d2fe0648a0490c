#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QMenu>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <optional>
#include <vector>

// Command ids of the editors' context menu. They are the application's own edit commands, so
// the menu finds their tool bar images under the same ids.
inline constexpr int GRID_CMD_UNDO = 57643;
inline constexpr int GRID_CMD_CUT = 57635;
inline constexpr int GRID_CMD_COPY = 57634;
inline constexpr int GRID_CMD_PASTE = 57637;
inline constexpr int GRID_CMD_DELETE_ITEM = 32838;
// The main tool bar, whose images the editors' menu shows.
inline constexpr int GRID_MAIN_TOOLBAR = 128;

// A tool bar as the menu reads it: one strip of equally sized button images and, per button
// from left to right, its command id (0 for a gap, which has no image).
struct GridToolBarImages {
    QPixmap strip;
    QSize buttonSize;
    std::vector<int> commandIds;
};

// A one-pixel frame just inside rect: crTopLeft on the top and left edges, crBottomRight on the
// bottom and right (raised with light over dark, pressed the other way round).
void DrawGridFrame3D(QPainter &painter, const QRect &rect, const QColor &crTopLeft,
                     const QColor &crBottomRight);

// What a menu's commands act on: it enables them before the menu shows and carries out the
// one chosen.
class CGridMenuTarget
{
public:
    virtual ~CGridMenuTarget() = default;
    // Sets bEnable for command nId and returns true, or returns false when it has no say on
    // the command (the item is then disabled).
    virtual bool OnUpdateMenuCommand(int nId, bool &bEnable) = 0;
    virtual void OnMenuCommand(int nId) = 0;
};

// A popup menu that draws its own items: a small image beside each command that also has a
// tool bar button, embossed disabled items, accelerator texts (after a tab) aligned right and
// thin etched separators.
//
// Use: construct; AppendCommand/AppendSeparator; LoadToolBarImages; MakeOwnerDrawn;
// UpdateItemStates; Track.
class CGridIconMenu : public QMenu
{
    Q_OBJECT

public:
    struct IconMenuItem {
        // Image index, -1 for none, kSeparator for a separator.
        int nImage = -1;
        // Command id, kSeparator for a separator.
        int nId = 0;
        // At most kMaxText characters, the accelerator after a tab.
        QString strText;
    };
    static constexpr int kSeparator = -3;
    static constexpr int kMaxText = 127;

    explicit CGridIconMenu(QWidget *pParent = nullptr);
    ~CGridIconMenu() override;

    // The tool bars the menus can take images from, by resource id. The application registers
    // its main tool bar at start.
    static void RegisterToolBar(int nResourceId, const GridToolBarImages &toolBar);
    static void UnregisterToolBar(int nResourceId);

    QAction *AppendCommand(int nId, const QString &strText);
    void AppendSeparator();

    // Takes the images of a registered tool bar; false (and no images) when there is none or
    // its strip is empty. The image size becomes the tool bar's button size.
    bool LoadToolBarImages(int nResourceId);
    // Makes a record for every item, with the image of its command.
    void MakeOwnerDrawn();
    // Enables each command as the target says; commands it has no say on are disabled.
    void UpdateItemStates(CGridMenuTarget &target);
    // Shows the menu at the global point and hands the chosen command to the target.
    void Track(const QPoint &ptGlobal, CGridMenuTarget &target);

    // The font of the items; the system menu font when none is set.
    void SetCustomFont(const QFont &font);
    QFont ItemFont() const;
    QSize GetImageSize() const { return m_imageSize; }
    int GetImageCount() const { return static_cast<int>(m_images.size()); }
    // The records MakeOwnerDrawn made, in menu order.
    const std::vector<IconMenuItem> &GetItems() const { return m_items; }
    const IconMenuItem *ItemOf(const QAction *pAction) const;
    // The command id of an item's action.
    static int CommandOf(const QAction *pAction);

    // The size an item measures (separator 10 x 6).
    QSize MeasureItem(const IconMenuItem &item) const;
    // Draws an item into rect as selected/disabled/checked/default says.
    void DrawItem(QPainter &painter, const QRect &rect, const IconMenuItem &item, bool bSelected,
                  bool bDisabled, bool bChecked, bool bDefault) const;

protected:
    void paintEvent(QPaintEvent *pEvent) override;

private:
    void DrawItemText(QPainter &painter, const QRect &rect, const QString &strText) const;

    QFont m_fontBold;
    std::optional<QFont> m_fontCustom;
    QFont m_fontMenu;
    QSize m_imageSize{20, 20};
    QList<QPixmap> m_images;
    // Menu text, selected text, image background, menu background, selection background,
    // light edge, dark edge, disabled text.
    QColor m_crText, m_crSelText, m_crImageBack, m_crMenuBack, m_crSelBack, m_crLight, m_crDark,
        m_crGray;
    std::vector<IconMenuItem> m_items;
    std::vector<std::pair<int, int>> m_imageOfCommand;
};
