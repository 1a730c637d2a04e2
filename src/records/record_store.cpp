#include "records/record_store.h"

#include "app/catalogue.h"
#include "app/folder_path.h"
#include "app/services.h"
#include "app/shared_state.h"
#include "records/file_lock.h"
#include "records/points.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstring>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

namespace {

// The length of an open file, asked of the file system now (another PC may
// have appended since it was opened). -1 when the file system cannot say.
qint64 fileLength(QFile& f)
{
#ifdef Q_OS_WIN
    return f.size();
#else
    struct stat st;
    if (::fstat(f.handle(), &st) != 0) return -1;
    return qint64(st.st_size);
#endif
}

QString messageTitle(const SharedState& s)
{
    return s.contentTitle.isEmpty() ? catalogue::kTitle : s.contentTitle;
}

bool storeFailed(const SharedState& s, Services& sv, const QString& path, const QString& error)
{
    sv.dialogs.message(QStringLiteral("成績を記録できません。\r\n場所：%1\r\n理由：%2").arg(QDir::toNativeSeparators(path), error),
                       messageTitle(s));
    sv.end.request(1);
    return false;
}

// A run the loader would not use must not be stored either: it would be lost
// silently, or (a negative time) become a best nobody can beat.
bool storableRun(const SharedState& s, Services& sv, int level)
{
    if (s.pupilNumber >= 1 && s.pupilNumber < kPupilCount && level >= 1 && level < kLevelCount && s.runScore >= 0)
        return true;
    sv.dialogs.message(QStringLiteral("この成績は記録できません（生徒番号 %1、レベル %2、タイム %3）。\r\n"
                                      "生徒番号は 1～5000、レベルは 1～35 でなければなりません。")
                           .arg(s.pupilNumber)
                           .arg(level)
                           .arg(s.runScore),
                       messageTitle(s));
    return false;
}

struct OpenAttempt {
    bool ok = false;
    QString errorText;
    int errorNumber = 0;
};

// Random-access opening: read and write, created when missing. A file this
// computer may only read is still loaded (readers need no write access).
OpenAttempt openForLoading(const QString& path, QFile& f)
{
    OpenAttempt a;
    f.setFileName(path);
    errno = 0;
    if (f.open(QIODevice::ReadWrite | QIODevice::Unbuffered)) {
        a.ok = true;
        return a;
    }
    a.errorNumber = errno;
    a.errorText = f.errorString();
    if (QFileInfo::exists(path) && f.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) a.ok = true;
    return a;
}

} // namespace

QString resultFilePath(const SharedState& s) { return nativePath(s.recordsFolder + QStringLiteral("成績累積データ.dat")); }
QString sharedLogPath(const SharedState& s) { return nativePath(s.dataFolder + QStringLiteral("成績累積データ家庭用.dat")); }

QString titleFolderName(const SharedState& s)
{
    QString folder = s.recordsFolder;
    if (folder.endsWith(u'\\')) folder.chop(1);
    return lastFolderComponent(folder) + u'\\';
}

bool openResultFile(const SharedState& s, QFile& file)
{
    file.setFileName(resultFilePath(s));
    return file.open(QIODevice::ReadWrite | QIODevice::Unbuffered);
}

bool appendRecordLocked(const QString& path, const QByteArray& record, QString* error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite | QIODevice::Unbuffered)) {
        if (error) *error = f.errorString();
        return false;
    }
    WholeFileLock lock(f);
    if (!lock.lock(error)) return false;
    // The length is read under the lock: another PC's record written just
    // before counts, and no other PC can write at the same place meanwhile.
    const qint64 length = fileLength(f);
    if (length < 0) {
        if (error) *error = QStringLiteral("ファイルの長さを調べられません。");
        return false;
    }
    const qint64 at = length / record.size() * record.size();
    // Unbuffered: the bytes are in the file when write() returns, before the
    // lock is released.
    if (!f.seek(at) || f.write(record) != record.size()) {
        if (error) *error = f.errorString();
        return false;
    }
    lock.unlock();
    f.close();
    return true;
}

bool Seisekikiroku(SharedState& s, Services& sv, int level)
{
    RecordTables& t = s.records;
    if (!storableRun(s, sv, level)) return true;
    const int pupil = s.pupilNumber;
    const PupilLevelStats& st = t.stats(level, pupil);
    const LevelRow& row = s.levelTable[level];
    // The counters are those of the last computation, without this run.
    t.qualified = (st.runCount < row.requiredRuns || st.totalPoints < row.requiredPoints) ? 0 : 1;
    if (st.personalBest > s.runScore) {
        t.newPersonalBest = 1;
        t.touch(level, pupil).personalBest = s.runScore;
    }
    if (!成績ランダムファイル記録(s, sv)) return false;
    if (t.overallBest[level] > s.runScore) {
        t.overallBest[level] = s.runScore;
        t.newOverallBest = 1;
    }
    return true;
}

bool 成績ランダムファイル記録(SharedState& s, Services& sv)
{
    if (!storableRun(s, sv, s.currentLevel)) return true;
    // One reading: a run stored at midnight gets the date and time of the same instant.
    const RecordStamp stamp = recordStamp(sv.clock.now());
    ResultRecord r;
    r.date = stamp.date;
    r.time = stamp.time;
    r.pupilNumber = s.pupilNumber;
    r.level = s.currentLevel;
    r.score = s.runScore;
    r.siteCode = s.siteCode;
    QString error;
    if (!appendRecordLocked(resultFilePath(s), encodeResultRecord(r), &error))
        return storeFailed(s, sv, resultFilePath(s), error);

    if (s.rosterFileMode == 1 && (s.pupilNumber < 4900 || s.pupilNumber > 5000)) {
        const SharedLogRecord l = SharedLogRecord::of(r, titleFolderName(s));
        if (!appendRecordLocked(sharedLogPath(s), encodeSharedLogRecord(l), &error))
            return storeFailed(s, sv, sharedLogPath(s), error);
    }
    return true;
}

namespace {
// Opens the result file with the loader's retries and reads the newest
// records into `tail`. False when the program is ending.
bool readForLoading(SharedState& s, Services& sv, ResultTail& tail)
{
    const QString path = resultFilePath(s);
    const QString shownPath = QDir::toNativeSeparators(path);
    QFile f;
    int missingFailures = 0;
    qint64 refusedWaitedMs = 0;
    // Shows why the records cannot be loaded and ends the program.
    auto fail = [&](const QString& heading, const OpenAttempt& a) {
        sv.dialogs.message(QStringLiteral("%1\r\n%2\r\n%3（エラー番号 %4）")
                               .arg(heading, shownPath, a.errorText)
                               .arg(a.errorNumber),
                           messageTitle(s));
        sv.end.request(1);
        return false;
    };
    for (;;) {
        const OpenAttempt a = openForLoading(path, f);
        if (a.ok) break;
        if (!QFileInfo(nativePath(s.recordsFolder)).isDir()) {
            // The folder is missing, e.g. a network folder not yet connected.
            if (++missingFailures >= 4) return fail(QStringLiteral("ファイルがありません"), a);
            sv.clock.waitMs(5000);
        } else if (QFileInfo::exists(path)) {
            // Held by another PC (or not readable): retry each second, but
            // not for ever.
            if (refusedWaitedMs >= 60000)
                return fail(QStringLiteral("成績ファイルを読み込めません。他のパソコンが使用中か、"
                                           "読み取りが許可されていません（60 秒待ちました）。"),
                            a);
            sv.clock.waitMs(1000);
            refusedWaitedMs += 1000;
        } else {
            return fail(QStringLiteral("成績ランダムファイル表示"), a);
        }
        if (sv.end.requested()) return false;
    }

    QString error;
    if (!readResultTail(f, kLoadWindow, tail, &error)) {
        sv.dialogs.message(QStringLiteral("成績ランダムファイル表示\r\n%1\r\n%2\r\nレコード %3 から")
                               .arg(shownPath, error)
                               .arg(tail.firstRecord),
                           messageTitle(s));
        sv.end.request(1);
        return false;
    }
    return true;
}

// The read buffer is kept between computations: no fresh pages each time.
struct BorrowedTail {
    RecordTables& t;
    ResultTail tail;
    explicit BorrowedTail(RecordTables& tables) : t(tables) { tail.bytes.swap(t.readBuffer); }
    ~BorrowedTail() { t.readBuffer.swap(tail.bytes); }
};
} // namespace

bool 成績ランダムファイル表示(SharedState& s, Services& sv)
{
    BorrowedTail b(s.records);
    if (!readForLoading(s, sv, b.tail)) return false;
    loadRecords(s.records, b.tail.bytes.constData(), b.tail.count);
    return true;
}

bool 回数求(SharedState& s, Services& sv)
{
    BorrowedTail b(s.records);
    if (!readForLoading(s, sv, b.tail)) return false;
    loadAndCount(s.records, b.tail.bytes.constData(), b.tail.count, s.levelTable, sv.clock.today());
    return true;
}

SkipReason recordSkipReason(double date, qint16 pupil, qint16 level, qint32 score)
{
    if (!(date >= 0)) return SkipReason::Date; // negative, or not a number at all
    if (pupil < 1 || pupil >= kPupilCount) return SkipReason::Pupil;
    if (level < 1 || level >= kLevelCount) return SkipReason::Level;
    if (score < 0) return SkipReason::Score;
    return SkipReason::None;
}

QString skipReasonText(SkipReason reason, const ResultRecord& r)
{
    switch (reason) {
    case SkipReason::None: return {};
    case SkipReason::Date: return QStringLiteral("日付が負か数ではありません（%1）").arg(r.date);
    case SkipReason::Pupil: return QStringLiteral("生徒番号 %1 が 1～5000 の範囲外です").arg(r.pupilNumber);
    case SkipReason::Level: return QStringLiteral("レベル %1 が 1～35 の範囲外です").arg(r.level);
    case SkipReason::Score: return QStringLiteral("タイム %1 が負です").arg(r.score);
    }
    return {};
}

bool readResultTail(QFile& file, qint64 window, ResultTail& tail, QString* error)
{
    const qint64 length = fileLength(file);
    if (length < 0) {
        if (error) *error = QStringLiteral("ファイルの長さを調べられません。");
        return false;
    }
    tail.totalRecords = length / kResultRecordSize;
    tail.trailingBytes = length % kResultRecordSize;
    const qint64 first = std::max<qint64>(0, tail.totalRecords - window);
    tail.firstRecord = first + 1;
    const qint64 want = (tail.totalRecords - first) * kResultRecordSize;
    tail.bytes.resize(want);
    if (!file.seek(first * kResultRecordSize)) {
        if (error) *error = file.errorString();
        return false;
    }
    qint64 got = 0;
    while (got < want) {
        const qint64 n = file.read(tail.bytes.data() + got, want - got);
        if (n < 0) {
            if (error) *error = file.errorString();
            return false;
        }
        if (n == 0) break; // the file was cut short meanwhile: keep the whole records read
        got += n;
    }
    tail.count = got / kResultRecordSize;
    return true;
}

namespace {

// The fields the tables use; false for a record the loader skips.
inline bool decodeLoaded(const char* p, LoadedRecord& r)
{
    r.date = getLeDouble(p + 0);
    r.pupilNumber = getLe16(p + 16);
    r.level = getLe16(p + 18);
    r.score = getLe32(p + 20);
    if (recordSkipReason(r.date, r.pupilNumber, r.level, r.score) != SkipReason::None) return false;
    r.time = getLeDouble(p + 8);
    r.points = pointsTextValue(p + 34, 5);
    return true;
}

// Step 5 of loading: the overall best is the smallest personal best; cells
// not in the list are at 99999 and cannot lower it.
void computeOverallBests(RecordTables& t)
{
    std::fill(t.overallBest.begin() + 1, t.overallBest.end(), 99999);
    for (const qint32 i : t.touchedCells) {
        const int level = i / kPupilCount, pupil = i % kPupilCount;
        if (level < 1 || pupil < 1) continue;
        qint32& best = t.overallBest[std::size_t(level)];
        best = std::min(best, t.stats(level, pupil).personalBest);
    }
}

} // namespace

void loadRecords(RecordTables& t, const char* bytes, qint64 count)
{
    // Step 1, for the cells that hold anything: bests back to "none yet".
    for (const qint32 i : t.touchedCells) t.stats(i / kPupilCount, i % kPupilCount).personalBest = 99999;
    std::fill(t.hasRecords.begin() + 1, t.hasRecords.end(), quint8(0));

    t.loaded.clear();
    t.loaded.reserve(std::size_t(count));
    for (qint64 k = 0; k < count; ++k) {
        LoadedRecord r;
        if (!decodeLoaded(bytes + k * kResultRecordSize, r)) continue;
        t.loaded.push_back(r);
        PupilLevelStats& c = t.touch(r.level, r.pupilNumber);
        if (r.score < c.personalBest) c.personalBest = r.score;
        t.hasRecords[std::size_t(r.pupilNumber)] = 1;
    }
    t.recordCount = int(t.loaded.size());
    computeOverallBests(t);
}

qint64 recordPoints(const LevelTable& levels, int level, qint32 score)
{
    if (level < 1 || level >= kLevelCount || score < 0) return 0;
    const LevelRow& row = levels[std::size_t(level)];
    return runPoints(score, row.targetTime, row.pointFactor);
}

void loadAndCount(RecordTables& t, const char* bytes, qint64 count, const LevelTable& levels, QDate today)
{
    // Steps 1 of both the counters and the loader, for the cells that hold
    // anything; averages are kept, as for every pupil without a run. Every
    // cell leaves the list and comes back when a record reaches it.
    for (const qint32 i : t.touchedCells) {
        PupilLevelStats& c = t.stats(i / kPupilCount, i % kPupilCount);
        c.personalBest = 99999;
        c.runCount = c.recentRunCount = c.window2RunCount = c.todayRunCount = 0;
        c.recentPoints = c.window2Points = c.totalPoints = c.scoreSum = c.todayScoreSum = c.todayPoints = 0;
        t.cellTouched[std::size_t(i)] = 0;
    }
    t.touchedCells.clear();
    std::fill(t.hasRecords.begin() + 1, t.hasRecords.end(), quint8(0));

    const double todaySerial = double(daySerial(today));
    // A run earns 0–55 before the factor; the factor is applied once per
    // level and value rather than once per record.
    std::array<std::array<qint64, 56>, kLevelCount> applied;
    std::array<bool, kLevelCount> appliedReady{};
    std::array<double, kLevelCount> window1From, window2From;
    for (int l = 1; l < kLevelCount; ++l) {
        window1From[std::size_t(l)] = todaySerial - levels[std::size_t(l)].dayWindow1;
        window2From[std::size_t(l)] = todaySerial - levels[std::size_t(l)].dayWindow2;
    }

    // The loader's records and the counters in one pass: each cell is
    // fetched once per record.
    t.loaded.clear();
    t.loaded.reserve(std::size_t(count));
    for (qint64 k = 0; k < count; ++k) {
        LoadedRecord r;
        if (!decodeLoaded(bytes + k * kResultRecordSize, r)) continue;
        t.loaded.push_back(r);
        t.hasRecords[std::size_t(r.pupilNumber)] = 1;
        PupilLevelStats& c = t.touch(r.level, r.pupilNumber);
        if (r.score < c.personalBest) c.personalBest = r.score;

        const std::size_t l = std::size_t(r.level);
        const LevelRow& row = levels[l];
        if (!appliedReady[l]) {
            for (int f = 0; f <= 55; ++f) applied[l][std::size_t(f)] = row.pointFactor.apply(f);
            appliedReady[l] = true;
        }
        // The full score, whatever its length; a level without a target earns 0.
        const qint64 points = applied[l][std::size_t(runPointsFactor(r.score, row.targetTime))];
        const bool finished = r.score < 6000;
        if (finished) {
            ++c.runCount;
            c.scoreSum += r.score; // only finished runs make an average
        }
        if (r.date > window1From[l]) {
            if (finished) ++c.recentRunCount;
            c.recentPoints += points;
        }
        if (r.date > window2From[l]) {
            if (finished) ++c.window2RunCount;
            c.window2Points += points;
        }
        c.totalPoints += points;
        if (r.date >= todaySerial && r.date < todaySerial + 1) {
            if (finished) {
                ++c.todayRunCount;
                c.todayScoreSum += r.score;
            }
            c.todayPoints += points;
        }
    }
    t.recordCount = int(t.loaded.size());

    // Step 4 of the counters, integer part of (sum ÷ count + 0.5) in
    // integers, and step 5 of the loader.
    std::fill(t.overallBest.begin() + 1, t.overallBest.end(), 99999);
    for (const qint32 i : t.touchedCells) {
        const int level = i / kPupilCount, pupil = i % kPupilCount;
        PupilLevelStats& c = t.stats(level, pupil);
        if (c.runCount > 0) c.averageScore = qint32((2 * c.scoreSum + c.runCount) / (2 * qint64(c.runCount)));
        if (c.todayRunCount >= 1)
            c.todayAverageScore = qint32((2 * c.todayScoreSum + c.todayRunCount) / (2 * qint64(c.todayRunCount)));
        qint32& best = t.overallBest[std::size_t(level)];
        best = std::min(best, c.personalBest);
    }
}
