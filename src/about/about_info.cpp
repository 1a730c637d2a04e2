#include "about/about_info.h"

QString versionText(int major, int minor, int revision)
{
    return QStringLiteral("Version%1.%2.%3").arg(major).arg(minor).arg(revision);
}

QString programVersionText() { return versionText(SOLMEA_VERSION_MAJOR, SOLMEA_VERSION_MINOR, SOLMEA_VERSION_PATCH); }

QUrl makerPageUrl() { return QUrl(QStringLiteral("https://www.quorvane.example/")); }

QString helpFilePath(const QString& programFolder, const QString& contentTitle)
{
    return programFolder + u'\\' + contentTitle + QStringLiteral(".HLP");
}

QString helpDocumentPath(const QString& programFolder, const QString& contentTitle)
{
    return programFolder + u'\\' + contentTitle + QStringLiteral("ヘルプ.txt");
}
