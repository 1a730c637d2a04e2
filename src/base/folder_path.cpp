#include "base/folder_path.h"

#include <QDir>

QString toFolderString(const QString& nativeFolder)
{
    QString s = QDir::fromNativeSeparators(nativeFolder);
    while (s.size() > 1 && s.endsWith(u'/')) s.chop(1);
    s.replace(u'/', u'\\');
    return s;
}

QString nativePath(const QString& folderString)
{
#ifdef Q_OS_WIN
    return folderString;
#else
    QString s = folderString;
    s.replace(u'\\', u'/');
    return s;
#endif
}

QString lastFolderComponent(const QString& folderString)
{
    QString s = folderString;
    // Drop everything up to and including the first "\" until none is left.
    for (qsizetype i = s.indexOf(u'\\'); i >= 0; i = s.indexOf(u'\\')) s = s.mid(i + 1);
    return s;
}
