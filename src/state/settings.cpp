#include "state/settings.h"

#include "base/file_error.h"
#include "base/folder_path.h"
#include "base/text_file.h"
#include "base/text_util.h"
#include "sound/sound_list.h"
#include "state/catalogue.h"
#include "state/shared_state.h"

#include <QFile>

namespace {
const QString kSettingsFile = QStringLiteral("設定.txt");
const QString kCommonFile = QStringLiteral("共通データ.txt");
const QString kLevelFile = QStringLiteral("タイム回数データ.txt");

// 設定.txt and 共通データ.txt begin with a number that decides the folders or
// the school year. A UTF-8 byte-order mark would make that number read as 0,
// and the program would go on with the wrong layout and blame another file.
QString readNumberFirstFile(const QString& path, const QString& name)
{
    const QString text = readTextFile(path, name);
    QFile f(path);
    if (f.open(QIODevice::ReadOnly) && f.read(3) == QByteArrayLiteral("\xEF\xBB\xBF"))
        throw FileError(name, path,
                        QStringLiteral("先頭に UTF-8 のバイト順マーク（EF BB BF）があるため、最初の値が読めません。"
                                       "メモ帳などでシフトJIS（ANSI）を選んで保存し直してください。"));
    return text;
}
} // namespace

void splitOrganisationLine(const QString& line, QString& siteCode, QString& organisationName)
{
    const QString head = line.left(5);
    if (leadingNumber(head) != 0) {
        siteCode = head;
        organisationName = line.mid(5);
    } else {
        siteCode.clear();
        organisationName = line;
    }
}

InstallFolders installFolders(const QString& programFolder, double layoutFlag)
{
    InstallFolders f;
    f.programFolderName = lastFolderComponent(programFolder);
    if (layoutFlag == 1) {
        f.dataFolder = programFolder + QStringLiteral("\\..\\files\\");
        f.recordsFolder = programFolder + QStringLiteral("\\");
        f.soundFolder = f.dataFolder + QStringLiteral("..\\") + QStringLiteral("files\\");
    } else {
        f.dataFolder = programFolder + QStringLiteral("\\..\\");
        f.recordsFolder = f.dataFolder + f.programFolderName + QStringLiteral("\\");
        f.soundFolder = f.dataFolder + QStringLiteral("音フォルダ") + QStringLiteral("\\");
    }
    return f;
}

void readLevelTable(SharedState& s, const QString& text, const QString& path)
{
    ListReader in(text, kLevelFile, path);
    for (int row = 0; row < kLevelCount && !in.atEnd(); ++row) {
        LevelRow& r = s.levelTable[row];
        r.targetTime = in.readInt32();
        r.secondTime = in.readInt32();
        r.requiredPoints = in.readInt32();
        r.requiredRuns = in.readInt16();
        const QString factor = in.readText();
        const std::optional<PointFactor> f = PointFactor::parse(factor);
        if (!f)
            throw FileError(kLevelFile, path,
                            QStringLiteral("レベル %1 のポイント倍率（5 列目）「%2」は扱えません。整数部は %3 桁まで、"
                                           "小数部は %4 桁までで書いてください。")
                                .arg(row)
                                .arg(factor)
                                .arg(PointFactor::kMaxWholeDigits)
                                .arg(PointFactor::kMaxDecimals));
        r.pointFactor = *f;
        r.window2RunMark = in.readNumber();
        r.window2PointMark = in.readNumber();
        r.dayWindow1 = in.readNumber();
        r.dayWindow2 = in.readNumber();
        for (double& u : r.unused) u = in.readNumber();
    }
}

void checkOfferedLevels(const SharedState& s, const QString& path)
{
    for (int level = 1; level <= catalogue::kOfferedLevels; ++level) {
        const LevelRow& r = s.levelTable[level];
        const char16_t* column = nullptr;
        if (r.targetTime <= 0) column = u"目標タイム（1 列目）";
        else if (r.secondTime <= 0) column = u"第二タイム（2 列目）";
        if (column)
            throw FileError(kLevelFile, path,
                            QStringLiteral("レベル %1 の%2が 0 以下です。正の秒数を書いてください。")
                                .arg(level)
                                .arg(QString::fromUtf16(column)));
    }
}

void loadInstallationSettings(SharedState& s)
{
    {
        const QString path = nativePath(s.programFolder + QStringLiteral("\\") + kSettingsFile);
        ListReader in(readNumberFirstFile(path, kSettingsFile), kSettingsFile, path);
        s.layoutFlag = in.readNumber();
        s.settingsOtherValues.clear();
        for (int i = 2; i <= 10; ++i) s.settingsOtherValues << in.readText();
    }
    s.programFolderSlash = s.programFolder + QStringLiteral("\\");
    s.rosterFileMode = 1;
    const InstallFolders folders = installFolders(s.programFolder, s.layoutFlag);
    s.dataFolder = folders.dataFolder;
    {
        const QString path = nativePath(s.dataFolder + kCommonFile);
        ListReader in(readNumberFirstFile(path, kCommonFile), kCommonFile, path);
        s.schoolYearStartMonth = in.readInt32();
        splitOrganisationLine(in.readText(), s.siteCode, s.organisationName);
        s.rosterStatusOption = in.readInt32();
        s.commonDataOtherValues.clear();
        for (int i = 4; i <= 10; ++i) s.commonDataOtherValues << in.readText();
    }
    s.programFolderName = folders.programFolderName;
    s.recordsFolder = folders.recordsFolder;
    s.soundFolder = folders.soundFolder;
    setCatalogueStartValues(s);
    {
        const QString path = nativePath(s.recordsFolder + kLevelFile);
        readLevelTable(s, readTextFile(path, kLevelFile), path);
    }
}

void loadSettings(SharedState& s)
{
    loadInstallationSettings(s);
    checkOfferedLevels(s, nativePath(s.recordsFolder + kLevelFile));
    loadSoundList(s);
}
