#include "GridListConstants.h"
#include "Images.h"
#include "MenuTables.h"
#include "Resource.h"
#include "StringTable.h"
#include "ui_AboutDialog.h"
#include "ui_FindItemsDlg.h"
#include "ui_OpenURLDlg.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <set>

// Readable failure messages for QString comparisons.
void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace
{

class QtEnvironment : public ::testing::Environment
{
public:
    void SetUp() override { m_app = std::make_unique<QApplication>(m_argc, m_argv); }
    void TearDown() override { m_app.reset(); }

private:
    int m_argc = 1;
    char m_name[16] = "test_resources";
    char *m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QApplication> m_app;
};

const auto *const g_qtEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

// Every command entry of a menu tree, popups flattened, separators and popups left out.
void CollectCommands(const std::vector<MenuItemDef> &items, std::vector<const MenuItemDef *> &out)
{
    for (const MenuItemDef &item : items) {
        if (item.IsPopup())
            CollectCommands(item.children, out);
        else if (!item.IsSeparator())
            out.push_back(&item);
    }
}

std::vector<const MenuItemDef *> Commands(const std::vector<MenuItemDef> &menu)
{
    std::vector<const MenuItemDef *> out;
    CollectCommands(menu, out);
    return out;
}

// The tree popup shows the keys of the Edit commands that the pane answers the same way.
int KeyedCommand(int nID)
{
    switch (nID) {
    case ID_TREE_CUT:
        return ID_EDIT_CUT;
    case ID_TREE_COPY:
        return ID_EDIT_COPY;
    case ID_TREE_PASTE:
        return ID_EDIT_PASTE;
    default:
        return nID;
    }
}

QString ShortcutText(const MenuItemDef &item)
{
    return QString::fromUtf8(item.text).section(QLatin1Char('\t'), 1);
}

bool IsFullyTransparent(const QPixmap &pixmap)
{
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) != 0)
                return false;
        }
    }
    return true;
}

// A dialog built from one of the forms.
template <class Form> struct FormDialog {
    QDialog dialog;
    Form ui;
    FormDialog() { ui.setupUi(&dialog); }
};

QString ReadHelpPage(const QString &name)
{
    QFile file(QDir(QStringLiteral(PELLIX_HELP_DIR)).filePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

} // namespace

TEST(StringTable, EveryCommandRaisedByMenusBarsOrKeysHasAPrompt)
{
    std::vector<int> ids;
    for (const MenuItemDef *item : Commands(MainMenuDef()))
        ids.push_back(item->nID);
    for (const MenuItemDef *item : Commands(TreeMenuDef()))
        ids.push_back(item->nID);
    for (const AccelDef &accel : AcceleratorDef())
        ids.push_back(accel.nID);
    for (const ToolBarButtonDef &button : ToolBarDef()) {
        if (button.nID != ID_SEPARATOR)
            ids.push_back(button.nID);
    }
    for (const int id : ids)
        EXPECT_FALSE(LoadPrompt(id).isEmpty()) << "no prompt for command " << id;
}

TEST(StringTable, PromptAndTipAreSplitAtTheFirstLineFeed)
{
    EXPECT_EQ(LoadPrompt(ID_FILE_OPENURL), QStringLiteral("Open XML File From URL"));
    EXPECT_EQ(LoadTip(ID_FILE_OPENURL), QStringLiteral("Open URL"));
    EXPECT_EQ(LoadPrompt(ID_TREE_EXPAND), QStringLiteral("Expand"));
    EXPECT_TRUE(LoadTip(ID_TREE_EXPAND).isEmpty());
    EXPECT_TRUE(LoadResString(IDC_GRID_INPLACE).isNull());
    EXPECT_TRUE(LoadResString(-5).isNull());
    EXPECT_TRUE(LoadPrompt(99999).isEmpty());
    EXPECT_EQ(LoadResString(ID_INDICATOR_CAPS), QStringLiteral("CAP"));
    EXPECT_EQ(LoadResString(IDS_BLANK), QStringLiteral("  "));
}

TEST(StringTable, DocumentStringSplitsIntoItsSevenFields)
{
    const QStringList fields = SplitDocString(LoadResString(IDR_PELLIXTYPE));
    const QStringList expected{QStringLiteral("\""),
                               QStringLiteral("Pellix"),
                               QStringLiteral("Pellix"),
                               QStringLiteral("XML Files (*.xml)"),
                               QStringLiteral(".xml"),
                               QStringLiteral("Pellix.Document"),
                               QStringLiteral("XML Document\"")};
    EXPECT_EQ(fields, expected);
    EXPECT_EQ(DocStringField(LoadResString(IDR_PELLIXTYPE), DocStringIndex::filterExt),
              QStringLiteral(".xml"));
}

TEST(StringTable, ShortOrLongDocumentStringsStillGiveSevenFields)
{
    const QStringList shortFields = SplitDocString(QStringLiteral("\nDoc"));
    ASSERT_EQ(shortFields.size(), kDocStringFieldCount);
    EXPECT_EQ(shortFields.at(1), QStringLiteral("Doc"));
    EXPECT_TRUE(shortFields.at(6).isEmpty());
    EXPECT_TRUE(DocStringField(QString(), DocStringIndex::regFileTypeName).isEmpty());

    const QStringList longFields = SplitDocString(QStringLiteral("a\nb\nc\nd\ne\nf\ng\nh\ni"));
    ASSERT_EQ(longFields.size(), kDocStringFieldCount);
    EXPECT_EQ(longFields.last(), QStringLiteral("g"));
}

TEST(Menus, MainMenuHasTheSixPopupsInOrder)
{
    const auto &menu = MainMenuDef();
    std::vector<QString> titles;
    for (const MenuItemDef &popup : menu) {
        EXPECT_TRUE(popup.IsPopup());
        EXPECT_FALSE(popup.children.empty());
        titles.push_back(QString::fromUtf8(popup.text));
    }
    const std::vector<QString> expected{"&File", "&Edit", "&View", "Insert", "&Window", "&Help"};
    EXPECT_EQ(titles, expected);
}

TEST(Menus, NoCommandIsListedTwiceInOneMenu)
{
    for (const auto *menu : {&MainMenuDef(), &TreeMenuDef()}) {
        std::set<int> seen;
        for (const MenuItemDef *item : Commands(*menu))
            EXPECT_TRUE(seen.insert(item->nID).second) << "duplicate id " << item->nID;
    }
}

TEST(Menus, ShortcutTextShownInAMenuMatchesTheAcceleratorTable)
{
    for (const auto *menu : {&MainMenuDef(), &TreeMenuDef()}) {
        for (const MenuItemDef *item : Commands(*menu)) {
            const QString shown = ShortcutText(*item);
            const int id = KeyedCommand(item->nID);
            const QList<QKeySequence> keys = AcceleratorKeys(id);
            if (keys.isEmpty()) {
                // Find and Replace show a key that only the text pane answers.
                const bool findOrReplace = id == ID_EDIT_FIND || id == ID_EDIT_REPLACE;
                EXPECT_TRUE(shown.isEmpty() || findOrReplace) << item->text;
                continue;
            }
            EXPECT_EQ(shown, keys.first().toString(QKeySequence::PortableText)) << item->text;
        }
    }
}

TEST(Menus, ValidateFollowsReplaceInTheEditMenu)
{
    const auto &edit = MainMenuDef().at(1).children;
    const auto replace = std::find_if(edit.begin(), edit.end(), [](const MenuItemDef &item) {
        return item.nID == ID_EDIT_REPLACE;
    });
    ASSERT_NE(replace, edit.end());
    ASSERT_NE(std::next(replace), edit.end());
    EXPECT_EQ(std::next(replace)->nID, ID_EDIT_VALIDATE);
    EXPECT_STREQ(std::next(replace)->text, "&Validate...");
}

TEST(Menus, TreePopupCommandsLieInThePaneRange)
{
    const auto &menu = TreeMenuDef();
    ASSERT_EQ(menu.size(), 1u);
    EXPECT_STREQ(menu.front().text, "PellixTreeMenu");
    const auto commands = Commands(menu);
    EXPECT_EQ(commands.size(), 7u);
    for (const MenuItemDef *item : commands) {
        EXPECT_GE(item->nID, ID_TREE_FIRST);
        EXPECT_LE(item->nID, ID_TREE_LAST);
    }
}

TEST(Menus, RecentFilePlaceholderIsGreyedAndPrecedesExit)
{
    const auto &file = MainMenuDef().front().children;
    const auto it = std::find_if(file.begin(), file.end(), [](const MenuItemDef &item) {
        return item.nID == ID_FILE_MRU_FILE1;
    });
    ASSERT_NE(it, file.end());
    EXPECT_TRUE(it->bInactive);
    ASSERT_GE(std::distance(it, file.end()), 3);
    EXPECT_TRUE(std::next(it)->IsSeparator());
    EXPECT_EQ(std::next(it, 2)->nID, ID_APP_EXIT);
}

TEST(Accelerators, KeysAreUniqueAndRaiseKnownCommands)
{
    const auto &table = AcceleratorDef();
    EXPECT_EQ(table.size(), 17u);
    std::set<QString> keys;
    for (const AccelDef &accel : table) {
        EXPECT_FALSE(accel.key.isEmpty());
        const QString text = accel.key.toString(QKeySequence::PortableText);
        EXPECT_TRUE(keys.insert(text).second) << "key used twice: " << text.toStdString();
    }
    EXPECT_EQ(AcceleratorKeys(ID_EDIT_UNDO),
              (QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Z")),
                                   QKeySequence(QStringLiteral("Alt+Backspace"))}));
    EXPECT_EQ(AcceleratorKeys(ID_EDIT_REDO),
              (QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Y")),
                                   QKeySequence(QStringLiteral("Ctrl+Shift+Z"))}));
    EXPECT_EQ(AcceleratorKeys(ID_PREV_PANE),
              QList<QKeySequence>{QKeySequence(QStringLiteral("Shift+F6"))});
    EXPECT_TRUE(AcceleratorKeys(ID_EDIT_FIND).isEmpty());
    // Context help answers F1, as everywhere on the desktop.
    EXPECT_EQ(AcceleratorKeys(ID_HELP), QList<QKeySequence>{QKeySequence(Qt::Key_F1)});
}

TEST(ToolBar, EveryImageIsUsedOnceInStripOrder)
{
    int nextImage = 0;
    for (const ToolBarButtonDef &button : ToolBarDef()) {
        if (button.nID == ID_SEPARATOR) {
            EXPECT_EQ(button.nImage, -1);
            continue;
        }
        EXPECT_EQ(button.nImage, nextImage++);
        EXPECT_EQ(ToolBarImageIndex(button.nID), button.nImage);
    }
    EXPECT_EQ(nextImage, kToolBarImageCount);
    EXPECT_EQ(ToolBarImageIndex(ID_EDIT_CUT), 3);
    EXPECT_EQ(ToolBarImageIndex(ID_EDIT_PASTE), 5);
    EXPECT_EQ(ToolBarImageIndex(ID_EDIT_UNDO), -1);
    EXPECT_EQ(ToolBarImageIndex(ID_SEPARATOR), -1);
}

TEST(Images, StripsHaveTheirSizesAndEveryImageIsDrawnAndDistinct)
{
    struct Strip {
        QPixmap strip;
        QPixmap (*image)(int, qreal);
        int count;
        QSize size;
    };
    const Strip strips[] = {{ToolBarStrip(), ToolBarImage, kToolBarImageCount, QSize(16, 15)},
                            {TreeStrip(), TreeImage, kTreeImageCount, QSize(16, 13)}};
    for (const Strip &s : strips) {
        ASSERT_FALSE(s.strip.isNull());
        EXPECT_EQ(s.strip.size(), QSize(s.size.width() * s.count, s.size.height()));
        std::vector<QImage> images;
        for (int i = 0; i < s.count; ++i) {
            const QPixmap image = s.image(i, 1.0);
            ASSERT_EQ(image.size(), s.size) << i;
            EXPECT_FALSE(IsFullyTransparent(image)) << "image " << i << " is empty";
            for (const QImage &earlier : images)
                EXPECT_NE(earlier, image.toImage()) << "image " << i << " repeats an earlier one";
            images.push_back(image.toImage());
        }
        EXPECT_TRUE(s.image(-1, 1.0).isNull());
        EXPECT_TRUE(s.image(s.count, 1.0).isNull());
    }
}

TEST(Images, TreeImagesAreTransparentWhereNothingIsDrawn)
{
    // The document item's bare branch leaves the top-left corner empty; an opaque
    // background there would show as a box on the tree's own colour.
    const QImage document = TreeImage(0).toImage();
    EXPECT_EQ(qAlpha(document.pixel(0, 0)), 0);
    const QImage element = TreeImage(1).toImage();
    EXPECT_EQ(qAlpha(element.pixel(0, 12)), 0);
}

TEST(Images, HighDensityRenderingKeepsTheLogicalSize)
{
    const QPixmap image = ToolBarImage(0, 2.0);
    EXPECT_EQ(image.size(), QSize(32, 30));
    EXPECT_EQ(image.deviceIndependentSize().toSize(), QSize(16, 15));
    EXPECT_FALSE(IsFullyTransparent(image));
}

TEST(Images, IconsAndTheSplashHaveADrawingForEachScale)
{
    // A scaled screen gets images drawn at its scale, not the small ones blown up.
    for (const qreal ratio : {1.0, 2.0, 3.0}) {
        const QPixmap tool = ToolBarIcon(1).pixmap(kToolBarImageSize, ratio);
        EXPECT_EQ(tool.size(), kToolBarImageSize * ratio);
        EXPECT_EQ(tool.toImage(), ToolBarImage(1, ratio).toImage()) << "scale " << ratio;
        const QPixmap tree = TreeIcon(1).pixmap(kTreeImageSize, ratio);
        EXPECT_EQ(tree.toImage(), TreeImage(1, ratio).toImage()) << "scale " << ratio;
    }
    EXPECT_TRUE(ToolBarIcon(kToolBarImageCount).isNull());
    EXPECT_TRUE(TreeIcon(-1).isNull());
    const QPixmap splash = SplashPicture(2.0);
    EXPECT_EQ(splash.size(), kSplashSize * 2);
    EXPECT_EQ(splash.deviceIndependentSize().toSize(), kSplashSize);
}

TEST(Images, SplashIconsAndCursorLoad)
{
    const QPixmap splash = SplashPicture();
    EXPECT_EQ(splash.size(), QSize(422, 264));
    EXPECT_FALSE(IsFullyTransparent(splash));
    for (const QIcon &icon : {AppIcon(), DocIcon()}) {
        ASSERT_FALSE(icon.isNull());
        EXPECT_EQ(icon.pixmap(QSize(32, 32)).size(), QSize(32, 32));
        EXPECT_FALSE(IsFullyTransparent(icon.pixmap(QSize(16, 16))));
    }
    const QCursor cursor = DragCursor();
    EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
    EXPECT_EQ(cursor.hotSpot(), QPoint(1, 1));
    EXPECT_FALSE(IsFullyTransparent(cursor.pixmap()));
}

TEST(Forms, AboutAndOpenUrlDialogsInstantiate)
{
    FormDialog<Ui::CAboutDialog> about;
    EXPECT_EQ(about.dialog.windowTitle(), QStringLiteral("About Pellix"));
    EXPECT_EQ(about.ui.versionLabel->text(), QStringLiteral("Pellix Version 1.0"));

    FormDialog<Ui::COpenURLDlg> openUrl;
    const Ui::COpenURLDlg &openUrlUi = openUrl.ui;
    EXPECT_EQ(openUrl.dialog.windowTitle(), QStringLiteral("Open URL"));
    EXPECT_TRUE(openUrlUi.m_wndURLCombo->isEditable());
    EXPECT_EQ(openUrlUi.m_wndURLCombo->insertPolicy(), QComboBox::NoInsert);
    EXPECT_NE(openUrlUi.buttonBox->button(QDialogButtonBox::Ok), nullptr);
    EXPECT_NE(openUrlUi.buttonBox->button(QDialogButtonBox::Cancel), nullptr);
}

TEST(Forms, FindDialogHasEveryControlWithItsInitialState)
{
    FormDialog<Ui::CFindItemsDlg> find;
    const Ui::CFindItemsDlg &ui = find.ui;
    EXPECT_EQ(find.dialog.windowTitle(), QStringLiteral("Find Items"));
    EXPECT_EQ(ui.IDC_REPLACE_ALL->text(), QStringLiteral("Replace All"));
    EXPECT_TRUE(ui.IDC_FIND_NEXT->isDefault());
    EXPECT_TRUE(ui.IDC_ELEMENT->isChecked());
    for (QCheckBox *box : {ui.IDC_ATTR_NAME, ui.IDC_ATTR_VALUE, ui.IDC_TEXT, ui.IDC_COMMENT,
                           ui.IDC_MATCH_CASE, ui.IDC_WHOLE_TEXT})
        EXPECT_FALSE(box->isChecked()) << box->objectName().toStdString();
    EXPECT_TRUE(ui.IDC_DOWN->isChecked());
    ui.IDC_UP->setChecked(true);
    EXPECT_FALSE(ui.IDC_DOWN->isChecked());
    for (QComboBox *combo : {ui.IDC_FIND_COMBO, ui.IDC_REPLACE_COMBO}) {
        EXPECT_TRUE(combo->isEditable());
        EXPECT_EQ(combo->insertPolicy(), QComboBox::NoInsert);
    }
}

TEST(Forms, HidingTheReplaceControlsMovesCancelIntoReplacesPlace)
{
    FormDialog<Ui::CFindItemsDlg> find;
    const Ui::CFindItemsDlg &ui = find.ui;
    find.dialog.show();
    const QRect replaceRect = ui.IDC_REPLACE->geometry();
    for (QWidget *widget :
         {static_cast<QWidget *>(ui.IDC_REPLACE), static_cast<QWidget *>(ui.IDC_REPLACE_ALL),
          static_cast<QWidget *>(ui.IDC_REPLACE_COMBO),
          static_cast<QWidget *>(ui.IDC_REPLACE_LABEL)})
        widget->hide();
    find.dialog.layout()->activate();
    EXPECT_EQ(ui.IDCANCEL->geometry(), replaceRect);
}

TEST(Help, LinksReachExistingPagesAndAnchors)
{
    const QStringList pages =
        QDir(QStringLiteral(PELLIX_HELP_DIR)).entryList({QStringLiteral("*.html")}, QDir::Files);
    ASSERT_TRUE(pages.contains(QStringLiteral("pellix.html")));
    const QRegularExpression link(QStringLiteral("href=\"([^\"#]*)(?:#([^\"]*))?\""));
    for (const QString &page : pages) {
        const QString html = ReadHelpPage(page);
        ASSERT_FALSE(html.isEmpty()) << page.toStdString();
        for (auto it = link.globalMatch(html); it.hasNext();) {
            const auto match = it.next();
            const QString target = match.captured(1).isEmpty() ? page : match.captured(1);
            EXPECT_TRUE(pages.contains(target))
                << page.toStdString() << " -> " << target.toStdString();
            const QString anchor = match.captured(2);
            if (!anchor.isEmpty()) {
                const QString targetHtml = ReadHelpPage(target);
                EXPECT_TRUE(targetHtml.contains(QStringLiteral("name=\"%1\"").arg(anchor)))
                    << page.toStdString() << " -> #" << anchor.toStdString();
            }
        }
    }
}

TEST(Help, CommandPageNamesEveryMenuCommand)
{
    const QString html = ReadHelpPage(QStringLiteral("commands.html"));
    ASSERT_FALSE(html.isEmpty());
    for (const MenuItemDef *item : Commands(MainMenuDef())) {
        if (item->nID == ID_FILE_MRU_FILE1)
            continue;
        QString name = QString::fromUtf8(item->text).section(QLatin1Char('\t'), 0, 0);
        name.remove(QLatin1Char('&'));
        EXPECT_TRUE(html.contains(QStringLiteral("<td>%1</td>").arg(name))) << name.toStdString();
    }
}
