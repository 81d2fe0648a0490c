#pragma once

#include "ColumnDefinition.h"
#include "GridColumnLayout.h"

#include <QString>
#include <vector>

class QSettings;

// The columns a grid list may show: one definition per column and the ids shown, in their
// default order. Settings stored in the profile may override both; building turns them into
// the list's columns and masks.
class ColumnDefinitionSet
{
public:
    // Appends a definition (the texts may be null) and returns its index.
    int AddDefinition(int nColumnId, const QString &strCaption, const QString &strDataType,
                      int nFormat, int nWidth, quint32 dwFlags, int nImage,
                      const QString &strDescription);
    // Index of the first definition with that id, or -1.
    int FindDefinition(int nColumnId) const;
    int GetDefinitionCount() const { return static_cast<int>(m_definitions.size()); }
    // Valid for 0 <= nIndex < GetDefinitionCount(), until the next AddDefinition.
    const ColumnDefinition &GetDefinition(int nIndex) const;

    // Replaces the ids shown; an empty list empties it and returns false.
    bool SetDefaultOrder(const std::vector<int> &ids);
    const std::vector<int> &GetDefaultOrder() const { return m_defaultOrder; }

    // Reads the overrides stored under "GridLists/<strListName>" of `profile`. Without a
    // stored "NumDef" nothing changes; stored ids without a definition are ignored.
    void LoadSettings(QSettings &profile, const QString &strListName);

    // The columns of the default order that have a definition, and the masks they set.
    GridColumnLayout BuildColumns() const;

private:
    void LoadDefaultOrder(const QSettings &profile, const QString &strSection, int nCount);
    // Applies the stored definition number k to the definition with its id, if any.
    void LoadDefinition(const QSettings &profile, const QString &strSection, int k);

    std::vector<ColumnDefinition> m_definitions;
    std::vector<int> m_defaultOrder;
};
