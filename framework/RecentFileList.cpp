#include "RecentFileList.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

CRecentFileList::CRecentFileList(int nSize, QString strSection, QString strEntryPrefix)
    : m_nSize(nSize), m_strSection(std::move(strSection)),
      m_strEntryPrefix(std::move(strEntryPrefix))
{
}

QString CRecentFileList::MakeAbsolute(const QString &strPath)
{
    return QDir::cleanPath(QFileInfo(strPath).absoluteFilePath());
}

void CRecentFileList::Add(const QString &strPath)
{
    if (strPath.isEmpty() || m_nSize <= 0)
        return;
    const QString strAbsolute = MakeAbsolute(strPath);
    m_entries.removeAll(strAbsolute);
    m_entries.prepend(strAbsolute);
    while (m_entries.size() > m_nSize)
        m_entries.removeLast();
}

void CRecentFileList::Remove(int nIndex)
{
    if (nIndex >= 0 && nIndex < m_entries.size())
        m_entries.removeAt(nIndex);
}

QString CRecentFileList::GetMenuText(int nIndex) const
{
    QString strPath = GetEntry(nIndex);
    strPath.replace(u'&', QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(nIndex + 1).arg(strPath);
}

void CRecentFileList::ReadList(QSettings &settings)
{
    m_entries.clear();
    settings.beginGroup(m_strSection);
    for (int i = 1; i <= m_nSize; ++i) {
        const QString strPath = settings.value(m_strEntryPrefix + QString::number(i)).toString();
        if (!strPath.isEmpty() && !m_entries.contains(strPath))
            m_entries.append(strPath);
    }
    settings.endGroup();
}

void CRecentFileList::WriteList(QSettings &settings) const
{
    settings.beginGroup(m_strSection);
    settings.remove(QString());
    for (int i = 0; i < m_entries.size(); ++i)
        settings.setValue(m_strEntryPrefix + QString::number(i + 1), m_entries.at(i));
    settings.endGroup();
}
