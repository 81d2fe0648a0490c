#pragma once

#include <QString>
#include <QStringList>

class QSettings;

// The most recently used files, most recent first. Paths are kept absolute, so one file
// reached by two spellings is listed once.
class CRecentFileList
{
public:
    explicit CRecentFileList(int nSize, QString strSection = QStringLiteral("Recent File List"),
                             QString strEntryPrefix = QStringLiteral("File"));

    int GetSize() const { return m_nSize; }
    int GetCount() const { return static_cast<int>(m_entries.size()); }
    const QStringList &GetEntries() const { return m_entries; }
    // The entry at nIndex, or "" when there is none.
    QString GetEntry(int nIndex) const { return m_entries.value(nIndex); }

    // Puts `strPath` (made absolute) first, dropping an older entry of the same file and the
    // oldest one beyond the size.
    void Add(const QString &strPath);
    void Remove(int nIndex);

    // The menu text of entry nIndex: "&1 /path/file.xml", with '&' in the path kept visible.
    QString GetMenuText(int nIndex) const;

    // Entries are stored under the section as File1..FileN; missing or empty keys are skipped.
    void ReadList(QSettings &settings);
    void WriteList(QSettings &settings) const;

    static QString MakeAbsolute(const QString &strPath);

private:
    const int m_nSize;
    const QString m_strSection;
    const QString m_strEntryPrefix;
    QStringList m_entries;
};
