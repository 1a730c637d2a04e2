// solmea-records: reads an installation's result file for teachers and for
// support, without changing anything.
//   solmea-records csv FOLDER [--utf8]
//   solmea-records stats FOLDER [--today YYYY-MM-DD]
//   solmea-records check FOLDER
// FOLDER is the program folder (the one holding 設定.txt); the other folders
// are found exactly as the program finds them. csv and check go through the
// result file a chunk of records at a time and write as they go, so a file of
// any size takes the same small amount of memory.
#include "base/file_error.h"
#include "base/folder_path.h"
#include "base/text_file.h"
#include "base/text_file_check.h"
#include "base/text_util.h"
#include "records/record_file.h"
#include "records/record_loading.h"
#include "records/record_passes.h"
#include "records/result_file_stream.h"
#include "roster/roster_reader.h"
#include "state/catalogue.h"
#include "state/settings.h"
#include "state/shared_state.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>

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

// False once standard output cannot take more (a full disk): the caller
// stops and says so instead of ending as if all had been written.
bool out(const QByteArray& bytes)
{
    return std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout) == std::size_t(bytes.size());
}

int outputFailed() { return fail(QStringLiteral("結果を書き出せません（%1）").arg(systemErrorText(errno))); }

// Flushes what is still buffered; the exit code to end with.
int finish(int code) { return std::fflush(stdout) != 0 || std::ferror(stdout) ? outputFailed() : code; }

int usage()
{
    return fail(QStringLiteral("使い方：solmea-records csv フォルダ [--utf8] ｜ stats フォルダ [--today YYYY-MM-DD] ｜ "
                               "check フォルダ（フォルダは 設定.txt のあるプログラムのフォルダ）"));
}

const QString kLevelFile = QStringLiteral("タイム回数データ.txt");

// Reads the installation's settings as the program does. Returns an exit
// code (0 when all is well). With `levelTableError`, a level table the
// program cannot read is not the end: its reason is kept there, for check to
// report beside the lines that cause it.
int loadInstallation(const QString& folderArg, SharedState& s, QString* levelTableError = nullptr)
{
    const QFileInfo folder(folderArg);
    if (!folder.isDir()) return fail(QStringLiteral("フォルダがありません：%1").arg(shown(folder.absoluteFilePath())));
    const QString settings = folder.absoluteFilePath() + QStringLiteral("/設定.txt");
    if (!QFileInfo::exists(settings)) return fail(QStringLiteral("設定.txt がありません：%1").arg(shown(settings)));
    s.programFolder = toFolderString(folder.absoluteFilePath());
    try {
        loadInstallationSettings(s);
    } catch (const FileError& e) {
        if (!levelTableError || e.fileName() != kLevelFile) return fail(e.message());
        *levelTableError = e.reason();
        const InstallFolders folders = installFolders(s.programFolder, s.layoutFlag);
        s.dataFolder = folders.dataFolder;
        s.recordsFolder = folders.recordsFolder;
        s.soundFolder = folders.soundFolder;
    }
    setLobbyLevels(s);
    return 0;
}

// The result file opened for reading chunk by chunk; no stream when the
// file does not exist yet.
struct StreamedResultFile {
    QString path;
    QFile file;
    std::optional<ResultFileStream> stream;
};

int unreadable(const QString& path, const QString& why)
{
    return fail(QStringLiteral("成績ファイルを読み込めません：%1（%2）").arg(shown(path), why));
}

int openResults(const SharedState& s, StreamedResultFile& r, qint64 newest = -1)
{
    r.path = resultFilePath(s);
    if (!QFileInfo::exists(r.path)) return 0;
    r.file.setFileName(r.path);
    QString reason;
    if (!openWithReason(r.file, QIODevice::ReadOnly | QIODevice::Unbuffered, &reason))
        return unreadable(r.path, reason);
    r.stream.emplace(r.file, kResultChunkRecords, newest);
    return r.stream->ok() ? 0 : unreadable(r.path, r.stream->error());
}

QString csvField(const QString& v)
{
    if (!v.contains(u',') && !v.contains(u'"') && !v.contains(u'\r') && !v.contains(u'\n')) return v;
    QString q = v;
    q.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + q + u'"';
}

// The csv's lines. The fields that repeat from record to record (names,
// level names, the day) are worked out once, not for every record.
class CsvLines {
public:
    explicit CsvLines(const SharedState& s) : s_(s)
    {
        for (int pupil = 1; pupil < kPupilCount; ++pupil)
            names_[std::size_t(pupil)] = csvField(trimBlanks(s.roster.names[std::size_t(pupil)]));
        for (int level = 1; level < kLevelCount; ++level)
            levelNames_[std::size_t(level)] = csvField(s.levelNames[std::size_t(level)]);
    }

    // One record's line, CRLF included.
    void append(const ResultRecord& r, QString& text)
    {
        if (!(r.date == lastDate_)) { // also for a date that is not a number
            lastDate_ = r.date;
            lastDateText_ = recordDateText(r.date);
        }
        const bool pupilInRange = r.pupilNumber >= 1 && r.pupilNumber < kPupilCount;
        const bool levelInRange = r.level >= 1 && r.level < kLevelCount;
        text += lastDateText_;
        text += u',';
        text += recordTimeText(r.time);
        text += u',';
        text += QString::number(r.pupilNumber);
        text += u',';
        if (pupilInRange) text += names_[std::size_t(r.pupilNumber)];
        text += u',';
        text += QString::number(r.level);
        text += u',';
        if (levelInRange) text += levelNames_[std::size_t(r.level)];
        text += u',';
        text += QString::number(r.score);
        text += u',';
        text += QString::number(recordPoints(s_.levelTable, r.level, r.score));
        text += u',';
        text += csvField(r.siteCode);
        text += QStringLiteral("\r\n");
    }

private:
    const SharedState& s_;
    std::vector<QString> names_ = std::vector<QString>(kPupilCount);
    std::array<QString, kLevelCount> levelNames_;
    double lastDate_ = std::numeric_limits<double>::quiet_NaN();
    QString lastDateText_;
};

int commandCsv(SharedState& s, bool utf8)
{
    StreamedResultFile file;
    if (const int rc = openResults(s, file)) return rc;
    readRosterTables(s, QDate::currentDate(), false, nullptr); // names only; a missing roster leaves them empty

    // Each chunk is encoded by itself: it ends at a line end, so the bytes are
    // those of the whole text encoded at once.
    const auto write = [utf8](const QString& text) { return out(utf8 ? text.toUtf8() : encodeCp932(text)); };
    if (utf8 && !out("\xEF\xBB\xBF")) return outputFailed();
    QString text = QStringLiteral("日付,時刻,生徒番号,名前,レベル,レベル名,タイム,ポイント,教室コード\r\n");
    if (file.stream) {
        ResultFileStream& in = *file.stream;
        CsvLines lines(s);
        while (in.next()) {
            for (qint64 k = 0; k < in.count(); ++k)
                lines.append(decodeResultRecord(in.bytes() + k * kResultRecordSize), text);
            if (!write(text)) return outputFailed();
            text.clear();
        }
        if (!in.ok()) return unreadable(file.path, in.error());
    }
    if (!text.isEmpty() && !write(text)) return outputFailed();
    return finish(0);
}

int commandStats(SharedState& s, QDate today)
{
    StreamedResultFile file;
    if (const int rc = openResults(s, file, kLoadWindow)) return rc;
    RecordTables& t = s.records;
    CountingPass pass(t, s.levelTable, today);
    while (file.stream && file.stream->next()) pass.add(file.stream->bytes(), file.stream->count());
    if (file.stream && !file.stream->ok()) return unreadable(file.path, file.stream->error());
    pass.finish();

    // The (level, pupil) pairs the records hold, by pupil then level.
    std::vector<std::pair<int, int>> seen;
    t.cells.forEach([&](int level, int pupil, const PupilLevelStats&) { seen.emplace_back(pupil, level); });
    std::sort(seen.begin(), seen.end());

    QByteArray text("pupil\tlevel\tpersonalBest\toverallBest\trunCount\trecentRunCount\trecentPoints\twindow2RunCount\t"
                    "window2Points\ttotalPoints\ttodayRunCount\ttodayPoints\taverageScore\ttodayAverageScore\n");
    for (const auto& [pupil, level] : seen) {
        {
            const PupilLevelStats& c = t.stats(level, pupil);
            const qint64 values[] = {pupil,           level,
                                     c.personalBest,  t.overallBest[std::size_t(level)],
                                     c.runCount,      c.recentRunCount,
                                     c.recentPoints,  c.window2RunCount,
                                     c.window2Points, c.totalPoints,
                                     c.todayRunCount, c.todayPoints,
                                     c.averageScore,  c.todayAverageScore};
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

// The loader's verdict on the record at `p`.
SkipReason skipReasonAt(const char* p) { return recordSkipReason(ResultRecordView(p)); }

// The result file's part of check. Writes as it goes; the exit code.
int checkResultFile(StreamedResultFile& file)
{
    QString text = QStringLiteral("成績ファイル：%1\n").arg(shown(file.path));
    if (!file.stream) {
        text += QStringLiteral("まだありません（記録 0 件。最初の記録のときに作られます）\n");
        return out(text.toUtf8()) ? 0 : outputFailed();
    }
    ResultFileStream& in = *file.stream;
    text += QStringLiteral("レコード数：%1\n").arg(in.totalRecords());
    if (in.trailingBytes() > 0)
        text += QStringLiteral("末尾に不完全なレコードがあります：%1 バイト（次の記録で上書きされます）\n")
                    .arg(in.trailingBytes());
    else text += QStringLiteral("末尾の不完全なレコード：なし\n");

    // The count comes before the list: one pass counts, a second one (only
    // when there is anything to list) writes the lines.
    qint64 skipped = 0;
    while (in.next())
        for (qint64 k = 0; k < in.count(); ++k)
            skipped += skipReasonAt(in.bytes() + k * kResultRecordSize) != SkipReason::None;
    if (!in.ok()) return unreadable(file.path, in.error());
    text += QStringLiteral("使えないため読み込まれないレコード：%1 件\n").arg(skipped);
    if (skipped > 0) {
        if (!in.rewind()) return unreadable(file.path, in.error());
        while (in.next()) {
            for (qint64 k = 0; k < in.count(); ++k) {
                const char* p = in.bytes() + k * kResultRecordSize;
                const SkipReason why = skipReasonAt(p);
                if (why != SkipReason::None)
                    text += QStringLiteral("  レコード %1：%2\n")
                                .arg(in.firstRecord() + k)
                                .arg(skipReasonText(why, decodeResultRecord(p)));
            }
            if (!out(text.toUtf8())) return outputFailed();
            text.clear();
        }
        if (!in.ok()) return unreadable(file.path, in.error());
    }
    if (in.totalRecords() > kLoadWindow)
        text += QStringLiteral("古いため読み込まれないレコード：%1 件（新しい %2 件だけが読み込まれます）\n")
                    .arg(in.totalRecords() - kLoadWindow)
                    .arg(kLoadWindow);
    if (!out(text.toUtf8())) return outputFailed();
    return skipped == 0 && in.trailingBytes() == 0 ? 0 : 1;
}

// The text files' part of check: faults the program reads past without a
// word. Files that are not there are left to the program's own messages.
int checkTextFiles(const SharedState& s, const QString& levelTableError)
{
    const QString levelTable = nativePath(s.recordsFolder + kLevelFile);
    const QString files[] = {nativePath(s.programFolder + QStringLiteral("\\設定.txt")),
                             nativePath(s.dataFolder + QStringLiteral("共通データ.txt")), levelTable, rosterFilePath(s),
                             nativePath(s.soundFolder + QStringLiteral("新音ファイル.txt"))};
    QStringList lines;
    for (const QString& path : files) {
        QFile f(path);
        if (f.open(QIODevice::ReadOnly)) {
            const QByteArray bytes = f.readAll();
            QList<TextFileFinding> found = encodingFindings(bytes);
            if (path == levelTable) found += levelTableRowFindings(decodeTextFile(bytes));
            std::stable_sort(found.begin(), found.end(),
                             [](const TextFileFinding& a, const TextFileFinding& b) { return a.line < b.line; });
            for (const TextFileFinding& x : found)
                lines << QStringLiteral("  %1 %2 行目：%3").arg(shown(path), QString::number(x.line), x.text);
        }
        if (path == levelTable && !levelTableError.isEmpty())
            lines << QStringLiteral("  %1：プログラムはこのファイルを読み込めないため起動しません。理由：%2")
                         .arg(shown(path), levelTableError);
    }
    if (lines.isEmpty()) return 0;
    QString text = QStringLiteral("テキストファイルの問題：%1 件\n").arg(lines.size());
    for (const QString& line : lines) text += line + u'\n';
    return out(text.toUtf8()) ? 1 : outputFailed();
}

int commandCheck(SharedState& s, const QString& levelTableError)
{
    StreamedResultFile file;
    if (const int rc = openResults(s, file)) return rc;
    const int records = checkResultFile(file);
    if (records > 1) return records;
    const int texts = checkTextFiles(s, levelTableError);
    if (texts > 1) return texts;
    return finish(std::max(records, texts));
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
                if (!today.isValid())
                    return fail(QStringLiteral("日付は YYYY-MM-DD で指定してください：%1").arg(options[i]));
            } else {
                return usage();
            }
        }
        if (const int rc = loadInstallation(args[1], s)) return rc;
        return commandStats(s, today);
    }
    if (command == u"check") {
        if (!options.isEmpty()) return usage();
        QString levelTableError;
        if (const int rc = loadInstallation(args[1], s, &levelTableError)) return rc;
        return commandCheck(s, levelTableError);
    }
    return usage();
}
