// solmea-records: reads an installation's result file for teachers and for
// support, without changing anything.
//   solmea-records csv FOLDER [--utf8]
//   solmea-records stats FOLDER [--today YYYY-MM-DD]
//   solmea-records check FOLDER
// FOLDER is the program folder (the one holding 設定.txt); the other folders
// are found exactly as the program finds them.
#include "app/catalogue.h"
#include "app/file_error.h"
#include "app/folder_path.h"
#include "app/settings.h"
#include "app/shared_state.h"
#include "app/text_file.h"
#include "app/text_util.h"
#include "records/record_store.h"
#include "roster/roster_reader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>

namespace {

constexpr int kErrorExit = 2;

QString shown(const QString& path) { return QDir::toNativeSeparators(QDir::cleanPath(path)); }

int fail(const QString& line)
{
    QString l = line;
    l.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    l.replace(u'\n', u' ');
    std::fputs((l + u'\n').toUtf8().constData(), stderr);
    return kErrorExit;
}

void out(const QByteArray& bytes) { std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout); }

int usage()
{
    return fail(QStringLiteral("使い方：solmea-records csv フォルダ [--utf8] ｜ stats フォルダ [--today YYYY-MM-DD] ｜ "
                               "check フォルダ（フォルダは 設定.txt のあるプログラムのフォルダ）"));
}

// Reads the installation's settings as the program does. Returns an exit
// code (0 when all is well).
int loadInstallation(const QString& folderArg, SharedState& s)
{
    const QFileInfo folder(folderArg);
    if (!folder.isDir()) return fail(QStringLiteral("フォルダがありません：%1").arg(shown(folder.absoluteFilePath())));
    const QString settings = folder.absoluteFilePath() + QStringLiteral("/設定.txt");
    if (!QFileInfo::exists(settings)) return fail(QStringLiteral("設定.txt がありません：%1").arg(shown(settings)));
    s.programFolder = toFolderString(folder.absoluteFilePath());
    try {
        loadInstallationSettings(s);
    } catch (const FileError& e) {
        return fail(e.message());
    }
    setLobbyLevels(s);
    return 0;
}

// The whole result file, or its newest `window` records. A file that does
// not exist yet holds no records: the program creates it empty on first use.
struct ResultFile {
    QString path;
    bool exists = false;
    ResultTail tail;
};

int readResults(const SharedState& s, qint64 window, ResultFile& r)
{
    r.path = resultFilePath(s);
    if (!QFileInfo::exists(r.path)) return 0;
    r.exists = true;
    QFile f(r.path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return fail(QStringLiteral("成績ファイルを読み込めません：%1（%2）").arg(shown(r.path), f.errorString()));
    QString error;
    if (!readResultTail(f, window, r.tail, &error))
        return fail(QStringLiteral("成績ファイルを読み込めません：%1（%2）").arg(shown(r.path), error));
    return 0;
}

QString csvField(const QString& v)
{
    if (!v.contains(u',') && !v.contains(u'"') && !v.contains(u'\r') && !v.contains(u'\n')) return v;
    QString q = v;
    q.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + q + u'"';
}

QString dateText(double date)
{
    if (std::isfinite(date) && date >= 0 && date < 2958466) // up to 31 December 9999
        return dateFromSerial(qint64(std::floor(date))).toString(QStringLiteral("yyyy/MM/dd"));
    return plainDecimal(date);
}

QString timeText(double time)
{
    if (!std::isfinite(time) || time < 0 || time >= 1) return plainDecimal(time);
    const int seconds = std::min(86399, int(std::floor(time * 86400 + 0.5)));
    return QTime(0, 0).addSecs(seconds).toString(QStringLiteral("HH:mm:ss"));
}

int commandCsv(SharedState& s, bool utf8)
{
    ResultFile file;
    if (const int rc = readResults(s, std::numeric_limits<qint64>::max(), file)) return rc;
    readRosterTables(s, QDate::currentDate(), false, nullptr); // names only; a missing roster leaves them empty

    QString text = QStringLiteral("日付,時刻,生徒番号,名前,レベル,レベル名,タイム,ポイント,教室コード\r\n");
    for (qint64 k = 0; k < file.tail.count; ++k) {
        const ResultRecord r = decodeResultRecord(file.tail.bytes.constData() + k * kResultRecordSize);
        const bool pupilInRange = r.pupilNumber >= 1 && r.pupilNumber < kPupilCount;
        const bool levelInRange = r.level >= 1 && r.level < kLevelCount;
        const QString name = pupilInRange ? trimBlanks(s.roster.names[std::size_t(r.pupilNumber)]) : QString();
        const QString levelName = levelInRange ? s.levelNames[std::size_t(r.level)] : QString();
        const QStringList fields{dateText(r.date),
                                 timeText(r.time),
                                 QString::number(r.pupilNumber),
                                 csvField(name),
                                 QString::number(r.level),
                                 csvField(levelName),
                                 QString::number(r.score),
                                 QString::number(recordPoints(s.levelTable, r.level, r.score)),
                                 csvField(r.siteCode)};
        text += fields.join(u',') + QStringLiteral("\r\n");
    }
    out(utf8 ? QByteArray("\xEF\xBB\xBF") + text.toUtf8() : encodeCp932(text));
    return 0;
}

int commandStats(SharedState& s, QDate today)
{
    ResultFile file;
    if (const int rc = readResults(s, kLoadWindow, file)) return rc;
    RecordTables& t = s.records;
    loadAndCount(t, file.tail.bytes.constData(), file.tail.count, s.levelTable, today);

    // The (level, pupil) pairs the records hold, by pupil then level.
    std::vector<std::pair<int, int>> seen;
    t.cells.forEach([&](int level, int pupil, const PupilLevelStats&) { seen.emplace_back(pupil, level); });
    std::sort(seen.begin(), seen.end());

    QByteArray text("pupil\tlevel\tpersonalBest\toverallBest\trunCount\trecentRunCount\trecentPoints\twindow2RunCount\t"
                    "window2Points\ttotalPoints\ttodayRunCount\ttodayPoints\taverageScore\ttodayAverageScore\n");
    for (const auto& [pupil, level] : seen) {
        {
            const PupilLevelStats& c = t.stats(level, pupil);
            const qint64 values[] = {pupil, level, c.personalBest, t.overallBest[std::size_t(level)], c.runCount,
                                     c.recentRunCount, c.recentPoints, c.window2RunCount, c.window2Points,
                                     c.totalPoints, c.todayRunCount, c.todayPoints, c.averageScore,
                                     c.todayAverageScore};
            for (std::size_t i = 0; i < std::size(values); ++i) {
                if (i) text += '\t';
                text += QByteArray::number(values[i]);
            }
            text += '\n';
        }
    }
    out(text);
    return 0;
}

int commandCheck(SharedState& s)
{
    ResultFile file;
    if (const int rc = readResults(s, std::numeric_limits<qint64>::max(), file)) return rc;
    QString text = QStringLiteral("成績ファイル：%1\n").arg(shown(file.path));
    if (!file.exists) {
        text += QStringLiteral("まだありません（記録 0 件。最初の記録のときに作られます）\n");
        out(text.toUtf8());
        return 0;
    }
    text += QStringLiteral("レコード数：%1\n").arg(file.tail.totalRecords);
    if (file.tail.trailingBytes > 0)
        text += QStringLiteral("末尾に不完全なレコードがあります：%1 バイト（次の記録で上書きされます）\n")
                    .arg(file.tail.trailingBytes);
    else
        text += QStringLiteral("末尾の不完全なレコード：なし\n");
    QStringList skipped;
    for (qint64 k = 0; k < file.tail.count; ++k) {
        const ResultRecord r = decodeResultRecord(file.tail.bytes.constData() + k * kResultRecordSize);
        const SkipReason why = recordSkipReason(r.date, r.pupilNumber, r.level, r.score);
        if (why != SkipReason::None)
            skipped << QStringLiteral("  レコード %1：%2").arg(file.tail.firstRecord + k).arg(skipReasonText(why, r));
    }
    text += QStringLiteral("使えないため読み込まれないレコード：%1 件\n").arg(skipped.size());
    for (const QString& line : skipped) text += line + u'\n';
    if (file.tail.totalRecords > kLoadWindow)
        text += QStringLiteral("古いため読み込まれないレコード：%1 件（新しい %2 件だけが読み込まれます）\n")
                    .arg(file.tail.totalRecords - kLoadWindow)
                    .arg(kLoadWindow);
    out(text.toUtf8());
    return skipped.isEmpty() && file.tail.trailingBytes == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 2) return usage();
    const QString command = args[0];
    QStringList options = args.mid(2);

    auto state = std::make_unique<SharedState>(); // the tables are large: not on the stack
    SharedState& s = *state;

    if (command == u"csv") {
        bool utf8 = false;
        for (const QString& o : options) {
            if (o == u"--utf8") utf8 = true;
            else return usage();
        }
        if (const int rc = loadInstallation(args[1], s)) return rc;
        return commandCsv(s, utf8);
    }
    if (command == u"stats") {
        QDate today = QDate::currentDate();
        for (qsizetype i = 0; i < options.size(); ++i) {
            if (options[i] == u"--today" && i + 1 < options.size()) {
                today = QDate::fromString(options[++i], QStringLiteral("yyyy-MM-dd"));
                if (!today.isValid()) return fail(QStringLiteral("日付は YYYY-MM-DD で指定してください：%1").arg(options[i]));
            } else {
                return usage();
            }
        }
        if (const int rc = loadInstallation(args[1], s)) return rc;
        return commandStats(s, today);
    }
    if (command == u"check") {
        if (!options.isEmpty()) return usage();
        if (const int rc = loadInstallation(args[1], s)) return rc;
        return commandCheck(s);
    }
    return usage();
}
