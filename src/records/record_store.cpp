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
// Opens the result file with the loader's retries. False when the program is
// ending.
bool openWithRetries(SharedState& s, Services& sv, QFile& f)
{
    const QString path = resultFilePath(s);
    const QString shownPath = QDir::toNativeSeparators(path);
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
        if (QFileInfo(path).isDir()) {
            // Waiting would not help: say what is wrong at once.
            OpenAttempt a;
            a.errorText = QStringLiteral("成績ファイルの名前のフォルダがあります。フォルダの名前を変えるか、"
                                         "別の場所に移してください。");
            a.errorNumber = EISDIR;
            return fail(QStringLiteral("成績ランダムファイル表示"), a);
        }
        const OpenAttempt a = openForLoading(path, f);
        if (a.ok) return true;
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
}

// Reads the newest records of the result file in chunks, each handed to
// `feed`; with the loader's retries and its message when reading fails,
// which names the last record read. False when the program is ending.
bool readForLoading(SharedState& s, Services& sv, const std::function<void(const char*, qint64)>& feed)
{
    QFile f;
    if (!openWithRetries(s, sv, f)) return false;
    ResultTail tail;
    QByteArray last;
    QString error;
    const bool ok = readResultTailChunks(f, kLoadWindow, s.records.readBuffer, tail,
                                         [&](const char* bytes, qint64 count) {
                                             feed(bytes, count);
                                             last = QByteArray(bytes + (count - 1) * kResultRecordSize, kResultRecordSize);
                                         },
                                         &error);
    if (ok) return true;
    QString where = QStringLiteral("レコード %1 を読めませんでした。").arg(tail.firstRecord + tail.count);
    if (!last.isEmpty()) {
        const ResultRecord r = decodeResultRecord(last.constData());
        where += QStringLiteral("\r\n最後に読めたレコード：日付 %1、時刻 %2、生徒番号 %3、レベル %4、タイム %5")
                     .arg(recordDateText(r.date), recordTimeText(r.time))
                     .arg(r.pupilNumber)
                     .arg(r.level)
                     .arg(r.score);
    }
    sv.dialogs.message(QStringLiteral("成績ランダムファイル表示\r\n%1\r\n%2\r\n%3")
                           .arg(QDir::toNativeSeparators(resultFilePath(s)), error, where),
                       messageTitle(s));
    sv.end.request(1);
    return false;
}
} // namespace

bool 成績ランダムファイル表示(SharedState& s, Services& sv)
{
    LoadingPass pass(s.records);
    if (!readForLoading(s, sv, [&](const char* bytes, qint64 count) { pass.add(bytes, count); })) return false;
    pass.finish();
    return true;
}

bool 回数求(SharedState& s, Services& sv)
{
    CountingPass pass(s.records, s.levelTable, sv.clock.today());
    if (!readForLoading(s, sv, [&](const char* bytes, qint64 count) { pass.add(bytes, count); })) return false;
    pass.finish();
    return true;
}

bool readLoadedRecords(const SharedState& s, std::vector<LoadedRecord>& out, QString* error)
{
    out.clear();
    const QString path = resultFilePath(s);
    if (!QFileInfo::exists(path)) return true;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        if (error) *error = f.errorString();
        return false;
    }
    QByteArray buffer;
    ResultTail tail;
    return readResultTailChunks(
        f, kLoadWindow, buffer, tail,
        [&](const char* bytes, qint64 count) {
            for (qint64 k = 0; k < count; ++k) {
                const char* p = bytes + k * kResultRecordSize;
                LoadedRecord r;
                r.date = getLeDouble(p + 0);
                r.time = getLeDouble(p + 8);
                r.pupilNumber = getLe16(p + 16);
                r.level = getLe16(p + 18);
                r.score = getLe32(p + 20);
                if (recordSkipReason(r.date, r.pupilNumber, r.level, r.score) != SkipReason::None) continue;
                r.points = pointsTextValue(p + 34, 5);
                out.push_back(r);
            }
        },
        error);
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

bool readResultTailChunks(QFile& file, qint64 window, QByteArray& buffer, ResultTail& tail,
                          const std::function<void(const char*, qint64)>& feed, QString* error)
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
    tail.count = 0;
    if (!file.seek(first * kResultRecordSize)) {
        if (error) *error = file.errorString();
        return false;
    }
    // A chunk small enough to stay in the processor's cache between its
    // reading and its use.
    constexpr qint64 kChunkRecords = 1024;
    buffer.resize(kChunkRecords * kResultRecordSize);
    qint64 left = tail.totalRecords - first;
    while (left > 0) {
        const qint64 want = std::min(left, kChunkRecords) * kResultRecordSize;
        qint64 got = 0;
        while (got < want) {
            const qint64 n = file.read(buffer.data() + got, want - got);
            if (n < 0) {
                if (error) *error = file.errorString();
                return false;
            }
            if (n == 0) break;
            got += n;
        }
        const qint64 records = got / kResultRecordSize;
        if (records > 0) feed(buffer.constData(), records);
        tail.count += records;
        if (got < want) break; // the file was cut short meanwhile: keep the whole records read
        left -= records;
    }
    return true;
}

namespace {

// The fields the tables use; false for a record the loader skips.
inline bool decodeLoaded(const char* p, double& date, qint16& pupil, qint16& level, qint32& score)
{
    date = getLeDouble(p + 0);
    pupil = getLe16(p + 16);
    level = getLe16(p + 18);
    score = getLe32(p + 20);
    return recordSkipReason(date, pupil, level, score) == SkipReason::None;
}

// Step 1 of loading (and of the counters): every cell back to "no runs".
// Step 5 of loading: the overall best is the smallest personal best.
void computeOverallBests(RecordTables& t)
{
    t.overallBest.fill(99999);
    t.cells.forEach([&](int level, int pupil, const PupilLevelStats& c) {
        if (level < 1 || pupil < 1) return;
        qint32& best = t.overallBest[std::size_t(level)];
        best = std::min(best, c.personalBest);
    });
}

// One record added to its cell: the four counts (finished runs only) and
// the four point totals, each in the order recent window, limit window,
// all, today, go in as one vector each. The window tests become masks
// rather than branches: dates come in any order.
using I32x4 = qint32 __attribute__((vector_size(16)));
using I64x2 = qint64 __attribute__((vector_size(16)));

using F64x2 = double __attribute__((vector_size(16)));

inline void addRecord(PupilLevelStats& c, qint32 score, qint64 points, double date, F64x2 windowsFrom,
                      double todayFrom, double todayTo)
{
    const I64x2 inWindows = F64x2{date, date} > windowsFrom;                           // -1 or 0
    const qint64 today = -qint64((date >= todayFrom) & (date < todayTo));
    const I64x2 allAndToday = I64x2{-1, today};
    const qint32 finished = -qint32(score < 6000);

    I32x4 counts;
    std::memcpy(&counts, &c.recentRunCount, sizeof counts);
    const I32x4 masks = __builtin_shufflevector(I32x4(inWindows), I32x4(allAndToday), 0, 2, 4, 6);
    counts -= masks & finished;
    std::memcpy(&c.recentRunCount, &counts, sizeof counts);

    const qint32 finishedScore = score & finished; // only finished runs make an average
    c.scoreSum += finishedScore;
    c.todayScoreSum += finishedScore & qint32(today);

    I64x2 windowPoints, otherPoints;
    std::memcpy(&windowPoints, &c.recentPoints, sizeof windowPoints);
    std::memcpy(&otherPoints, &c.totalPoints, sizeof otherPoints);
    const I64x2 p = I64x2{points, points};
    windowPoints += p & inWindows;
    otherPoints += p & allAndToday;
    std::memcpy(&c.recentPoints, &windowPoints, sizeof windowPoints);
    std::memcpy(&c.totalPoints, &otherPoints, sizeof otherPoints);
}

} // namespace

void LevelPoints::prepare(RecordTables::PointsCache& cache, const LevelRow& r)
{
    row = &r;
    if (cache.targetTime != r.targetTime || !(cache.factor == r.pointFactor)) {
        cache.targetTime = r.targetTime;
        cache.factor = r.pointFactor;
        // From ten times the target on a run earns nothing.
        const qint64 n = std::clamp<qint64>(qint64(r.targetTime) * 10 + 1, 1, 1 << 16);
        cache.byScore.resize(std::size_t(n));
        for (qint64 score = 0; score < n; ++score)
            cache.byScore[std::size_t(score)] = runPoints(score, r.targetTime, r.pointFactor);
    }
    byScore = cache.byScore.data();
    reach = quint32(cache.byScore.size());
}

LoadingPass::LoadingPass(RecordTables& t) : t_(t)
{
    // Step 1 of loading: bests and hasRecords only; the counters stay those
    // of the last computation.
    t.cells.forEach([](int, int, PupilLevelStats& c) { c.personalBest = 99999; });
    std::fill(t.hasRecords.begin(), t.hasRecords.end(), quint8(0));
}

void LoadingPass::add(const char* bytes, qint64 count)
{
    for (qint64 k = 0; k < count; ++k) {
        const char* p = bytes + k * kResultRecordSize;
        const double date = getLeDouble(p + 0);
        const qint16 pupil = getLe16(p + 16), level = getLe16(p + 18);
        const qint32 score = getLe32(p + 20);
        if (recordSkipReason(date, pupil, level, score) != SkipReason::None) continue;
        ++used_;
        PupilLevelStats& c = t_.touch(level, pupil);
        c.personalBest = std::min(c.personalBest, score);
        t_.hasRecords[std::size_t(pupil)] = 1;
    }
}

void LoadingPass::finish()
{
    t_.recordCount = used_;
    computeOverallBests(t_);
}

void loadRecords(RecordTables& t, const char* bytes, qint64 count)
{
    LoadingPass pass(t);
    pass.add(bytes, count);
    pass.finish();
}

qint64 recordPoints(const LevelTable& levels, int level, qint32 score)
{
    if (level < 1 || level >= kLevelCount || score < 0) return 0;
    const LevelRow& row = levels[std::size_t(level)];
    return runPoints(score, row.targetTime, row.pointFactor);
}

CountingPass::CountingPass(RecordTables& t, const LevelTable& levels, QDate today)
    : t_(t), levels_(levels), todayFrom_(double(daySerial(today))), todayTo_(todayFrom_ + 1)
{
    // Steps 1 of both the counters and the loader.
    t.cells.resetCounts();
    seen_.fill(false);
    for (int l = 1; l < kLevelCount; ++l) {
        const LevelRow& row = levels[std::size_t(l)];
        windowsFrom_[std::size_t(l)] = F64x2{todayFrom_ - row.dayWindow1, todayFrom_ - row.dayWindow2};
        levelPoints_[std::size_t(l)] = {};
    }
}

void CountingPass::add(const char* bytes, qint64 count)
{
    // The loader's records and the counters in one pass.
    const char* const end = bytes + count * kResultRecordSize;
    for (const char* p = bytes; p != end; p += kResultRecordSize) {
        const double date = getLeDouble(p + 0);
        const qint16 pupil = getLe16(p + 16);
        const qint16 level = getLe16(p + 18);
        const qint32 score = getLe32(p + 20);
        if (recordSkipReason(date, pupil, level, score) != SkipReason::None) continue;
        ++used_;
        seen_[std::size_t(pupil)] = true;
        PupilLevelStats& c = t_.touch(level, pupil);
        LevelPoints& points = levelPoints_[std::size_t(level)];
        if (!points.row) points.prepare(t_.pointsCache[std::size_t(level)], levels_[std::size_t(level)]);
        // The full score, whatever its length; a level without a target earns 0.
        addRecord(c, score, points(score), date, windowsFrom_[std::size_t(level)], todayFrom_, todayTo_);
        c.personalBest = std::min(c.personalBest, score);
    }
}

void CountingPass::finish()
{
    t_.recordCount = used_;
    std::copy(seen_.begin(), seen_.end(), t_.hasRecords.begin());
    // Step 4 of the counters, integer part of (sum ÷ count + 0.5) in
    // integers, and step 5 of the loader.
    t_.overallBest.fill(99999);
    t_.cells.forEach([&](int level, int pupil, PupilLevelStats& c) {
        if (c.runCount > 0) c.averageScore = qint16((2 * qint64(c.scoreSum) + c.runCount) / (2 * qint64(c.runCount)));
        if (c.todayRunCount >= 1)
            c.todayAverageScore =
                qint16((2 * qint64(c.todayScoreSum) + c.todayRunCount) / (2 * qint64(c.todayRunCount)));
        if (level < 1 || pupil < 1) return;
        qint32& best = t_.overallBest[std::size_t(level)];
        best = std::min(best, c.personalBest);
    });
}

void loadAndCount(RecordTables& t, const char* bytes, qint64 count, const LevelTable& levels, QDate today)
{
    CountingPass pass(t, levels, today);
    pass.add(bytes, count);
    pass.finish();
}
