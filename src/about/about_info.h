#pragma once
#include <QString>
#include <QUrl>

// What the version box says, where the help document and the maker's page are.

inline const QString kMakerName = QStringLiteral("Quorvane");

// "Version" + major + "." + minor + "." + revision, plain decimal.
QString versionText(int major, int minor, int revision);
// This program's version text ("Version2.1.13").
QString programVersionText();

// The maker's web page.
QUrl makerPageUrl();

// The help file of the installation: the content title with the ending
// ".HLP" in the program folder, for the platform's help viewer.
QString helpFilePath(const QString& programFolder, const QString& contentTitle);
// Where no help viewer exists the program shows its own help document
// beside it: the content title followed by "ヘルプ.txt" (code page 932).
QString helpDocumentPath(const QString& programFolder, const QString& contentTitle);
