#include "ColumnDefinitionSet.h"

#include "GridListConstants.h"

#include <QSettings>

namespace
{
// A stored whole number, or nDefault when the entry is missing or not a number.
int ProfileInt(const QSettings &profile, const QString &strKey, int nDefault)
{
    bool bOk = false;
    const int nValue = profile.value(strKey).toInt(&bOk);
    return bOk ? nValue : nDefault;
}

// A stored text; a missing entry reads as the empty text.
QString ProfileString(const QSettings &profile, const QString &strKey)
{
    return profile.value(strKey, QString(QLatin1String(""))).toString();
}

void SetMaskBit(quint32 &dwMask, int nColumnId, bool bSet)
{
    if (bSet && nColumnId >= 0 && nColumnId <= GRID_MAX_COLUMN_ID)
        dwMask |= 1U << nColumnId;
}

QString Key(const QString &strSection, const char *pszEntry, int nIndex)
{
    return strSection + QString::fromLatin1(pszEntry).arg(nIndex);
}
} // namespace

int ColumnDefinitionSet::AddDefinition(int nColumnId, const QString &strCaption,
                                       const QString &strDataType, int nFormat, int nWidth,
                                       quint32 dwFlags, int nImage, const QString &strDescription)
{
    m_definitions.push_back(ColumnDefinition{nColumnId, nFormat, nWidth, nImage, dwFlags,
                                             strCaption, strDataType, strDescription});
    return GetDefinitionCount() - 1;
}

int ColumnDefinitionSet::FindDefinition(int nColumnId) const
{
    for (int i = 0; i < GetDefinitionCount(); ++i) {
        if (m_definitions[static_cast<std::size_t>(i)].nColumnId == nColumnId)
            return i;
    }
    return -1;
}

const ColumnDefinition &ColumnDefinitionSet::GetDefinition(int nIndex) const
{
    return m_definitions.at(static_cast<std::size_t>(nIndex));
}

bool ColumnDefinitionSet::SetDefaultOrder(const std::vector<int> &ids)
{
    m_defaultOrder = ids;
    return !ids.empty();
}

void ColumnDefinitionSet::LoadSettings(QSettings &profile, const QString &strListName)
{
    const QString strSection = QStringLiteral("GridLists/%1/").arg(strListName);
    const int nShown = ProfileInt(profile, strSection + QStringLiteral("NumDef"), 0);
    if (nShown == 0)
        return;
    LoadDefaultOrder(profile, strSection, nShown);
    const int nDefinitions = ProfileInt(profile, strSection + QStringLiteral("DefNum"), -1);
    for (int k = 0; k < nDefinitions; ++k)
        LoadDefinition(profile, strSection, k);
}

void ColumnDefinitionSet::LoadDefaultOrder(const QSettings &profile, const QString &strSection,
                                           int nCount)
{
    m_defaultOrder.clear();
    for (int k = 0; k < nCount; ++k) {
        const int nId = ProfileInt(profile, Key(strSection, "DefColId %1", k), -1);
        if (nId >= 0)
            m_defaultOrder.push_back(nId);
    }
}

void ColumnDefinitionSet::LoadDefinition(const QSettings &profile, const QString &strSection, int k)
{
    const int nId = ProfileInt(profile, Key(strSection, "ColDef_id_%1", k), -1);
    const int nIndex = nId >= 0 ? FindDefinition(nId) : -1;
    if (nIndex < 0)
        return;
    ColumnDefinition &def = m_definitions[static_cast<std::size_t>(nIndex)];
    def.nFormat = ProfileInt(profile, Key(strSection, "ColDef_align_%1", k), def.nFormat);
    def.nWidth = ProfileInt(profile, Key(strSection, "ColDef_width_%1", k), def.nWidth);
    def.nImage = ProfileInt(profile, Key(strSection, "ColDef_image_%1", k), def.nImage);
    def.dwFlags = static_cast<quint32>(
        ProfileInt(profile, Key(strSection, "ColDef_dwdata_%1", k), static_cast<int>(def.dwFlags)));
    def.strCaption = ProfileString(profile, Key(strSection, "ColDef_text_%1", k));
    def.strDataType = ProfileString(profile, Key(strSection, "ColDef_textdt_%1", k));
    def.strDescription = ProfileString(profile, Key(strSection, "ColDef_descr_%1", k));
}

GridColumnLayout ColumnDefinitionSet::BuildColumns() const
{
    GridColumnLayout layout;
    for (const int nId : m_defaultOrder) {
        const int nIndex = FindDefinition(nId);
        if (nIndex < 0)
            continue;
        const ColumnDefinition &def = GetDefinition(nIndex);
        const quint32 dwFlags = def.dwFlags;
        // An image header shows the image whose number its text holds.
        const QString strCaption = (dwFlags & COLDEF_HEADERIMAGE) != 0
                                       ? QStringLiteral("%1_").arg(def.nImage)
                                       : def.strCaption;
        layout.columns.push_back({nId, strCaption, def.nFormat & LVCFMT_JUSTIFYMASK, def.nWidth});
        GridColumnMasks &masks = layout.masks;
        SetMaskBit(masks.dwListEditCols, nId, (dwFlags & COLDEF_LISTEDIT) != 0);
        SetMaskBit(masks.dwComboEditCols, nId, (dwFlags & COLDEF_COMBOEDIT) != 0);
        SetMaskBit(masks.dwTextEditCols, nId, (dwFlags & COLDEF_TEXTEDIT) != 0);
        SetMaskBit(masks.dwNumSortCols, nId, (dwFlags & COLDEF_NUMSORT) != 0);
        SetMaskBit(masks.dwDotNumSortCols, nId, (dwFlags & COLDEF_DOTNUMSORT) != 0);
        SetMaskBit(masks.dwImageCols, nId, (dwFlags & COLDEF_IMAGE) != 0);
        SetMaskBit(layout.dwSortAscending, nId, (dwFlags & COLDEF_SORTABLE) != 0);
        SetMaskBit(layout.dwNoSortMark, nId, (dwFlags & COLDEF_NOSORTMARK) != 0);
        SetMaskBit(layout.dwFixedWidth, nId, (dwFlags & COLDEF_FIXEDWIDTH) != 0);
    }
    return layout;
}
