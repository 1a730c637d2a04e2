#pragma once
#include <QString>

struct SharedState;

// Reads 設定.txt, 共通データ.txt, タイム回数データ.txt and the sound list into
// the shared state. programFolder must already be set. Throws FileError.
void loadSettings(SharedState& s);
// The part of loadSettings that finds the folders and reads 設定.txt,
// 共通データ.txt and タイム回数データ.txt, without the sound list or the check
// of the offered levels (the solmea-records tool reads an installation so).
void loadInstallationSettings(SharedState& s);

// The organisation line: five leading characters with a non-zero value are
// the site code, the rest is the name; otherwise the whole line is the name.
void splitOrganisationLine(const QString& line, QString& siteCode, QString& organisationName);

// The folder strings of the two layouts.
struct InstallFolders {
    QString dataFolder, recordsFolder, soundFolder, programFolderName;
};
InstallFolders installFolders(const QString& programFolder, double layoutFlag);

// Reads the per-level table text into the state's levelTable. Rows past level
// 35 are ignored. Throws FileError on a row with too few values.
void readLevelTable(SharedState& s, const QString& text, const QString& path);

// A level the catalogue offers must have positive target and second times:
// both divide the drill's time bar and the points.
void checkOfferedLevels(const SharedState& s, const QString& path);
