// Column definitions: what they hold, the layouts stored in the profile, and the columns and
// masks they build.
#include "ColumnDefinitionSet.h"
#include "GridTestKit.h"

#include <QHeaderView>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace
{
// The three columns of a type, name and value grid.
void AddTypeNameValue(ColumnDefinitionSet &set)
{
    set.AddDefinition(0, "Type", QString(), LVCFMT_CENTER, 150, 0x22, -1, QString());
    set.AddDefinition(1, "Name", QString(), LVCFMT_CENTER, 120, 0x2C, -1, QString());
    set.AddDefinition(2, "Value", QString(), LVCFMT_LEFT, 300, 0x2C, -1, QString());
    set.SetDefaultOrder({0, 1, 2});
}

struct Shown {
    QString strCaption;
    int nWidth;
    bool operator==(const Shown &) const = default;
};
void PrintTo(const Shown &shown, std::ostream *pOut)
{
    *pOut << '"' << shown.strCaption.toStdString() << "\" " << shown.nWidth;
}

class StoredLayout : public ::testing::Test
{
protected:
    // The set after loading `entries` stored under GridLists/TheMainList.
    std::vector<Shown> Load(const std::vector<std::pair<const char *, QVariant>> &entries)
    {
        QSettings profile(m_dir.filePath("profile.ini"), QSettings::IniFormat);
        profile.clear();
        for (const auto &[pszKey, value] : entries)
            profile.setValue(QStringLiteral("GridLists/TheMainList/") + pszKey, value);
        // A layout stored for another list is not this list's.
        profile.setValue("GridLists/OtherList/NumDef", 1);
        profile.setValue("GridLists/OtherList/DefColId 0", 0);
        AddTypeNameValue(m_set);
        m_set.LoadSettings(profile, "TheMainList");
        std::vector<Shown> shown;
        for (const GridColumnLayout::Column &column : m_set.BuildColumns().columns)
            shown.push_back({column.strCaption, column.nWidth});
        return shown;
    }

    QTemporaryDir m_dir;
    ColumnDefinitionSet m_set;
};
} // namespace

TEST(ColumnDefinitionSet, AddsFindsAndOrdersDefinitions)
{
    ColumnDefinitionSet set;
    EXPECT_EQ(set.AddDefinition(7, "Seven", "int", LVCFMT_RIGHT, 40, 0x08, 3, "a number"), 0);
    EXPECT_EQ(set.AddDefinition(2, QString(), QString(), LVCFMT_LEFT, 10, 0, -1, QString()), 1);
    EXPECT_EQ(set.AddDefinition(7, "Again", QString(), LVCFMT_LEFT, 10, 0, -1, QString()), 2);
    EXPECT_EQ(set.FindDefinition(7), 0);
    EXPECT_EQ(set.FindDefinition(2), 1);
    EXPECT_EQ(set.FindDefinition(3), -1);
    const ColumnDefinition &seven = set.GetDefinition(0);
    EXPECT_EQ(seven.strDataType, "int");
    EXPECT_EQ(seven.strDescription, "a number");
    EXPECT_EQ(seven.nImage, 3);
    EXPECT_TRUE(set.GetDefinition(1).strCaption.isNull());

    EXPECT_TRUE(set.SetDefaultOrder({2, 7}));
    EXPECT_EQ(set.GetDefaultOrder(), (std::vector<int>{2, 7}));
    EXPECT_FALSE(set.SetDefaultOrder({}));
    EXPECT_TRUE(set.GetDefaultOrder().empty());
}

TEST(ColumnDefinitionSet, BuildsTheColumnsOfTheOrderWithTheirMasks)
{
    ColumnDefinitionSet set;
    set.AddDefinition(0, "List", QString(), LVCFMT_CENTER, 50, 0x001 | 0x020, -1, QString());
    set.AddDefinition(1, "Combo", QString(), LVCFMT_LEFT, 60, 0x002 | 0x080, -1, QString());
    set.AddDefinition(3, "Text", QString(), LVCFMT_RIGHT, 70, 0x004 | 0x008 | 0x100, -1, QString());
    set.AddDefinition(5, "Dots", QString(), LVCFMT_LEFT, 80, 0x010 | 0x040, -1, QString());
    set.AddDefinition(6, "Picture", QString(), LVCFMT_LEFT, 90, 0x200, 4, QString());
    // An id without a definition is left out; one defined but not listed is not shown.
    set.SetDefaultOrder({5, 9, 0, 1, 3, 6});
    const GridColumnLayout layout = set.BuildColumns();
    QStringList captions;
    for (const GridColumnLayout::Column &column : layout.columns)
        captions << column.strCaption;
    EXPECT_EQ(captions, QStringList({"Dots", "List", "Combo", "Text", "4_"}));
    EXPECT_EQ(layout.columns[3].nFormat, LVCFMT_RIGHT);
    EXPECT_EQ(layout.columns[3].nWidth, 70);
    EXPECT_EQ(layout.masks.dwListEditCols, 1U << 0);
    EXPECT_EQ(layout.masks.dwComboEditCols, 1U << 1);
    EXPECT_EQ(layout.masks.dwTextEditCols, 1U << 3);
    EXPECT_EQ(layout.masks.dwNumSortCols, 1U << 3);
    EXPECT_EQ(layout.masks.dwDotNumSortCols, 1U << 5);
    EXPECT_EQ(layout.masks.dwImageCols, 1U << 5);
    EXPECT_EQ(layout.dwSortAscending, 1U << 0);
    EXPECT_EQ(layout.dwNoSortMark, 1U << 1);
    EXPECT_EQ(layout.dwFixedWidth, 1U << 3);
}

TEST_F(StoredLayout, NoStoredLayoutKeepsTypeNameAndValue)
{
    EXPECT_EQ(Load({}), (std::vector<Shown>{{"Type", 150}, {"Name", 120}, {"Value", 300}}));
    // Definitions without an order ("DefNum" but no "NumDef") are not read.
    m_set = ColumnDefinitionSet();
    EXPECT_EQ(Load({{"DefNum", 1}, {"ColDef_id_0", 0}, {"ColDef_width_0", 5}}),
              (std::vector<Shown>{{"Type", 150}, {"Name", 120}, {"Value", 300}}));
}

TEST_F(StoredLayout, AStoredOrderShowsOnlyItsColumnsInItsOrder)
{
    EXPECT_EQ(Load({{"NumDef", 2}, {"DefColId 0", 2}, {"DefColId 1", 0}}),
              (std::vector<Shown>{{"Value", 300}, {"Type", 150}}));
}

TEST_F(StoredLayout, AStoredDefinitionWithoutCaptionEmptiesIt)
{
    EXPECT_EQ(Load({{"NumDef", 1},
                    {"DefColId 0", 1},
                    {"DefNum", 1},
                    {"ColDef_id_0", 1},
                    {"ColDef_width_0", 40}}),
              (std::vector<Shown>{{"", 40}}));
    const ColumnDefinition &name = m_set.GetDefinition(m_set.FindDefinition(1));
    EXPECT_EQ(name.nFormat, LVCFMT_CENTER);
    EXPECT_EQ(name.dwFlags, 0x2CU);
    EXPECT_EQ(name.strDataType, "");
}

TEST_F(StoredLayout, NegativeAndUnknownIdsAreIgnored)
{
    EXPECT_EQ(Load({{"NumDef", 3},
                    {"DefColId 0", -4},
                    {"DefColId 1", 1},
                    {"DefColId 2", "x"},
                    {"DefNum", 3},
                    {"ColDef_id_0", 8},
                    {"ColDef_text_0", "Eight"},
                    {"ColDef_id_1", -1},
                    {"ColDef_id_2", 1},
                    {"ColDef_text_2", "Label"},
                    {"ColDef_align_2", LVCFMT_RIGHT},
                    {"ColDef_dwdata_2", 0x1A0}}),
              (std::vector<Shown>{{"Label", 120}}));
    const GridColumnLayout layout = m_set.BuildColumns();
    EXPECT_EQ(layout.columns[0].nFormat, LVCFMT_RIGHT);
    EXPECT_EQ(layout.dwFixedWidth, 1U << 1);
    EXPECT_EQ(layout.dwNoSortMark, 1U << 1);
    EXPECT_EQ(layout.masks.dwTextEditCols, 0U);
}

using ListColumns = GridTest;

TEST_F(ListColumns, BuildingTwiceReplacesTheColumns)
{
    ASSERT_EQ(m_pList->GetColumnCount(), 3);
    m_pList->Fill({{"a", "1", "x"}});
    m_pList->SetColumns({{2, "Value", COLDEF_TEXTEDIT, 90}, {0, "Kind", 0, 60}});
    ASSERT_EQ(m_pList->GetColumnCount(), 2);
    EXPECT_EQ(m_pList->GetColumnCaption(0), "Value");
    EXPECT_EQ(m_pList->GetColumnId(0), 2);
    EXPECT_EQ(m_pList->GetColumnWidth(0), 90);
    EXPECT_EQ(m_pList->GetColumnId(1), 0);
    EXPECT_EQ(m_pList->GetColumnId(2), -1);
    EXPECT_EQ(m_pList->GetColumnMasks().dwTextEditCols, 1U << 2);
    EXPECT_EQ(m_pList->GetColumnMasks().dwComboEditCols, 0U);
    EXPECT_EQ(m_pList->GetCellText(0, 0), "x");
    EXPECT_EQ(m_pList->horizontalHeader()->count(), 2);
}

TEST_F(ListColumns, AFixedWidthColumnCannotBeResizedAndOthersStopAtSixteenPixels)
{
    m_pList->SetColumns(
        {{0, "First", 0, 80}, {1, "Fixed", COLDEF_FIXEDWIDTH, 70}, {2, "Free", 0, 60}});
    QHeaderView *pHeader = m_pList->horizontalHeader();
    EXPECT_EQ(pHeader->sectionResizeMode(1), QHeaderView::Fixed);
    pHeader->resizeSection(1, 200);
    EXPECT_EQ(m_pList->GetColumnWidth(1), 70);
    pHeader->resizeSection(2, 15);
    EXPECT_EQ(m_pList->GetColumnWidth(2), 60);
    pHeader->resizeSection(2, 16);
    EXPECT_EQ(m_pList->GetColumnWidth(2), 16);
    // The first column may be made as narrow as the user likes.
    pHeader->resizeSection(0, 3);
    EXPECT_EQ(m_pList->GetColumnWidth(0), 3);
}
