#include "base/folder_path.h"
#include "records/record_file.h"
#include "records/record_loading.h"
#include "records/record_passes.h"
#include "state/settings.h"
#include "state/shared_state.h"
#include "support/installation.h"
#include "support/small_disk.h"
#include "support/test_services.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// A clock the test can hook: each wait runs `onWait`, each reading can move on.
class HookClock final : public Clock {
public:
    explicit HookClock(QDateTime start) : now_(std::move(start)) {}
    QDateTime now() const override
    {
        const QDateTime t = now_;
        now_ = now_.addMSecs(stepPerReadingMs);
        ++readings;
        return t;
    }
    qint64 tickMs() const override { return 0; }
    void waitMs(qint64 ms) override
    {
        waited += ms;
        now_ = now_.addMSecs(ms);
        if (onWait) onWait();
    }
    mutable QDateTime now_;
    mutable int readings = 0;
    qint64 stepPerReadingMs = 0;
    qint64 waited = 0;
    std::function<void()> onWait;
};

// An installation with the default level table:
//   level 1: target 40, factor 1;  level 2: 45, 1.5;  level 3: 60, 0.7;
//   level 4: 60, 2; levels 5–35: target 0. Windows 7 and 30 days; 5 runs and
//   100 (level 1) points to qualify.
struct Fixture {
    TestInstallation inst;
    TestServices t;
    SharedState s;
    double today = 0;

    Fixture()
    {
        inst.writeDefaults();
        s.programFolder = toFolderString(inst.programFolder());
        loadSettings(s);
        today = double(daySerial(t.clock.today()));
    }
    QString resultPath() const { return resultFilePath(s); }
    QString logPath() const { return sharedLogPath(s); }
    void writeFile(const QString& path, const QByteArray& bytes) const
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    static QByteArray readFile(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    ResultRecord rec(double dayOffset, int pupil, int level, int score) const
    {
        ResultRecord r;
        r.date = today + dayOffset;
        r.time = 0.25;
        r.pupilNumber = qint16(pupil);
        r.level = qint16(level);
        r.score = score;
        return r;
    }
    void writeRecords(const QList<ResultRecord>& records, const QByteArray& tail = {}) const
    {
        QByteArray bytes;
        for (const ResultRecord& r : records) bytes += encodeResultRecord(r);
        writeFile(resultPath(), bytes + tail);
    }
    const PupilLevelStats& cell(int level, int pupil) const { return s.records.stats(level, pupil); }
    // The records the loader uses: the usable ones among the newest 20 000.
    struct LoadedRecord {
        double date, time;
        qint16 pupilNumber, level;
        qint32 score;
    };
    std::vector<LoadedRecord> loaded() const
    {
        std::vector<LoadedRecord> out;
        QFile f(resultFilePath(s));
        if (!f.open(QIODevice::ReadOnly)) return out;
        ResultTail tail;
        if (!readResultTail(f, kLoadWindow, tail, nullptr)) qFatal("cannot read the records");
        for (qint64 k = 0; k < tail.count; ++k) {
            const ResultRecord r = decodeResultRecord(tail.bytes.constData() + k * kResultRecordSize);
            if (recordSkipReason(r.date, r.pupilNumber, r.level, r.score) == SkipReason::None)
                out.push_back({r.date, r.time, r.pupilNumber, r.level, r.score});
        }
        return out;
    }
    void run(int pupil, int level, int score)
    {
        s.pupilNumber = qint16(pupil);
        s.currentLevel = qint16(level);
        s.runScore = score;
    }
};

} // namespace

class TestRecordStore : public QObject {
    Q_OBJECT
private slots:
    void missingFileIsCreatedEmpty();
    void appendsAfterTheLastWholeRecord();
    void sharedLogRule_data();
    void sharedLogRule();
    void dateAndTimeComeFromOneReading();
    void storingSetsFlags();
    void newestTwentyThousandAreLoaded();
    void unusableRecordsAreSkipped_data();
    void unusableRecordsAreSkipped();
    void countersOfAHandMadeFile();
    void recomputationForgetsOldRecords();
    void unstorableRunIsRefused();
    void missingFolderIsRetriedFourTimes();
    void folderThatAppearsIsLoaded();
    void refusedFileGivesUpAfterSixtySeconds_data();
    void refusedFileGivesUpAfterSixtySeconds();
    void storeFailureEndsTheProgram();
    void failedAppendLeavesNoPartOfARecord_data();
    void failedAppendLeavesNoPartOfARecord();
};

void TestRecordStore::missingFileIsCreatedEmpty()
{
    Fixture f;
    QVERIFY(!QFile::exists(f.resultPath()));
    QVERIFY(loadRecordsAndCounts(f.s, f.t.services));
    QVERIFY(QFile::exists(f.resultPath()));
    QCOMPARE(QFileInfo(f.resultPath()).size(), 0);
    QCOMPARE(f.s.records.recordCount, 0);
    QCOMPARE(f.s.records.overallBest[1], 99999);
    QCOMPARE(f.cell(1, 1).personalBest, 99999);
    QCOMPARE(f.cell(1, 1).runCount, 0);
    QCOMPARE(f.s.records.hasRecords[1], quint8(0));
}

void TestRecordStore::appendsAfterTheLastWholeRecord()
{
    Fixture f;
    const QList<ResultRecord> old{f.rec(-1, 1, 1, 30), f.rec(-1, 2, 1, 35), f.rec(-1, 1, 2, 50)};
    // The tail of a record torn by a crash: the next append overwrites it.
    f.writeRecords(old, QByteArray(20, 'x'));
    f.run(2, 1, 31);
    QVERIFY(storeRun(f.s, f.t.services, 1));
    QByteArray bytes = Fixture::readFile(f.resultPath());
    QCOMPARE(bytes.size(), 4 * 44);
    for (int i = 0; i < 3; ++i) QCOMPARE(decodeResultRecord(bytes.constData() + i * 44), old[i]);
    ResultRecord stored = decodeResultRecord(bytes.constData() + 3 * 44);
    QCOMPARE(stored.date, f.today);
    QCOMPARE(stored.time, 10.0 / 24);
    QCOMPARE(stored.pupilNumber, qint16(2));
    QCOMPARE(stored.level, qint16(1));
    QCOMPARE(stored.score, 31);
    QCOMPARE(stored.siteCode, QStringLiteral("12345"));
    QCOMPARE(stored.pointsText, QStringLiteral("0"));

    f.run(1, 3, 44);
    QVERIFY(storeRun(f.s, f.t.services, 3));
    bytes = Fixture::readFile(f.resultPath());
    QCOMPARE(bytes.size(), 5 * 44);
    QCOMPARE(decodeResultRecord(bytes.constData() + 4 * 44).score, 44);
    QVERIFY(!f.t.end.requested());
}

void TestRecordStore::sharedLogRule_data()
{
    QTest::addColumn<int>("pupil");
    QTest::addColumn<int>("rosterFileMode");
    QTest::addColumn<bool>("logged");
    QTest::newRow("pupil 1 is logged") << 1 << 1 << true;
    QTest::newRow("pupil 4899 is logged") << 4899 << 1 << true;
    QTest::newRow("pupil 4900 is not") << 4900 << 1 << false;
    QTest::newRow("pupil 4950 is not") << 4950 << 1 << false;
    QTest::newRow("pupil 5000 is not") << 5000 << 1 << false;
    QTest::newRow("roster mode 0 logs nothing") << 1 << 0 << false;
}

void TestRecordStore::sharedLogRule()
{
    QFETCH(int, pupil);
    QFETCH(int, rosterFileMode);
    QFETCH(bool, logged);
    Fixture f;
    f.s.rosterFileMode = rosterFileMode;
    f.run(pupil, 2, 77);
    QVERIFY(appendRunRecords(f.s, f.t.services));
    const QByteArray result = Fixture::readFile(f.resultPath());
    QCOMPARE(result.size(), 44);
    const QByteArray log = Fixture::readFile(f.logPath());
    QCOMPARE(log.size(), logged ? 66 : 0);
    if (!logged) return;
    const ResultRecord r = decodeResultRecord(result.constData());
    const SharedLogRecord l = decodeSharedLogRecord(log.constData());
    QCOMPARE(l.titleFolder, QStringLiteral("ソルメア\\"));
    QCOMPARE(l.contentCode, qint16(0));
    QCOMPARE(l.date, r.date);
    QCOMPARE(l.time, r.time);
    QCOMPARE(l.pupilNumber, qint16(pupil));
    QCOMPARE(l.level, qint16(2));
    QCOMPARE(l.score, 77);
    QCOMPARE(l.siteCode, QStringLiteral("12345"));
    QCOMPARE(log.mid(51), QByteArray(15, '\0'));
}

void TestRecordStore::dateAndTimeComeFromOneReading()
{
    Fixture f;
    // Every reading of this clock is one millisecond later: a second reading
    // would fall on the next day.
    HookClock clock(QDateTime(QDate(2026, 12, 8), QTime(23, 59, 59, 999)));
    clock.stepPerReadingMs = 1;
    Services sv{clock, f.t.sound, f.t.dialogs, f.t.launcher, f.t.end};
    f.run(1, 1, 30);
    QVERIFY(appendRunRecords(f.s, sv));
    const ResultRecord r = decodeResultRecord(Fixture::readFile(f.resultPath()).constData());
    const SharedLogRecord l = decodeSharedLogRecord(Fixture::readFile(f.logPath()).constData());
    QCOMPARE(r.date, double(daySerial(QDate(2026, 12, 8))));
    QCOMPARE(r.time, 86399999 / 86400000.0);
    QCOMPARE(l.date, r.date);
    QCOMPARE(l.time, r.time);
}

void TestRecordStore::storingSetsFlags()
{
    Fixture f;
    QList<ResultRecord> records;
    for (int i = 0; i < 5; ++i) records << f.rec(-2, 1, 1, 0);  // 55 points each: qualified
    for (int i = 0; i < 4; ++i) records << f.rec(-2, 2, 1, 0);  // too few runs
    for (int i = 0; i < 5; ++i) records << f.rec(-2, 3, 1, 79); // 4 points each: too few points
    records << f.rec(-2, 4, 1, 20);
    f.writeRecords(records);
    QVERIFY(loadRecordsAndCounts(f.s, f.t.services));
    QCOMPARE(f.s.records.overallBest[1], 0);

    f.run(1, 1, 5);
    QVERIFY(storeRun(f.s, f.t.services, 1));
    QCOMPARE(f.s.records.qualified, true);
    QCOMPARE(f.s.records.newPersonalBest, false);
    QCOMPARE(f.s.records.newOverallBest, false);

    f.run(2, 1, 5);
    QVERIFY(storeRun(f.s, f.t.services, 1));
    QCOMPARE(f.s.records.qualified, false);

    f.run(3, 1, 50);
    QVERIFY(storeRun(f.s, f.t.services, 1));
    QCOMPARE(f.s.records.qualified, false);
    QCOMPARE(f.s.records.newPersonalBest, true);
    QCOMPARE(f.cell(1, 3).personalBest, 50);

    f.s.records.newPersonalBest = false;
    f.run(5, 2, 12); // a first run at a level nobody has run
    QVERIFY(storeRun(f.s, f.t.services, 2));
    QCOMPARE(f.s.records.newPersonalBest, true);
    QCOMPARE(f.s.records.newOverallBest, true);
    QCOMPARE(f.s.records.overallBest[2], 12);
    QCOMPARE(f.cell(2, 5).personalBest, 12);

    // The next computation sees the stored runs and nothing else.
    QVERIFY(loadRecordsAndCounts(f.s, f.t.services));
    QCOMPARE(f.s.records.recordCount, 19);
    QCOMPARE(f.cell(2, 5).runCount, 1);
    QCOMPARE(f.cell(1, 3).personalBest, 50);
}

void TestRecordStore::newestTwentyThousandAreLoaded()
{
    Fixture f;
    QByteArray bytes;
    for (int k = 1; k <= 20005; ++k) bytes += encodeResultRecord(f.rec(-1, 1 + k % 5000, 1 + k % 4, k));
    f.writeFile(f.resultPath(), bytes);
    QVERIFY(loadRecordsAndCounts(f.s, f.t.services));
    QCOMPARE(f.s.records.recordCount, 20000);
    QCOMPARE(int(f.loaded().size()), 20000);
    QCOMPARE(f.loaded().front().score, 6);
    QCOMPARE(f.loaded().back().score, 20005);
    // Pupil 2 (level 2) has records 1, 5001, 10001, 15001 and 20001, scored
    // as numbered: the first is outside, 5001 is the only finished run left.
    QCOMPARE(f.cell(2, 2).runCount, 1);
    QCOMPARE(f.cell(2, 2).personalBest, 5001);
}

void TestRecordStore::unusableRecordsAreSkipped_data()
{
    QTest::addColumn<double>("date"); // 0: today
    QTest::addColumn<int>("pupil");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("score");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("pupil 0") << 0.0 << 0 << 1 << 3;
    QTest::newRow("pupil 5001") << 0.0 << 5001 << 1 << 3;
    QTest::newRow("negative pupil") << 0.0 << -4 << 1 << 3;
    QTest::newRow("level 0") << 0.0 << 1 << 0 << 3;
    QTest::newRow("level 36") << 0.0 << 1 << 36 << 3;
    QTest::newRow("negative level") << 0.0 << 1 << -1 << 3;
    QTest::newRow("negative score") << 0.0 << 1 << 1 << -86000;
    QTest::newRow("negative date") << -1.0 << 1 << 1 << 3;
    QTest::newRow("date not a number") << nan << 1 << 1 << 3;
}

void TestRecordStore::unusableRecordsAreSkipped()
{
    QFETCH(double, date);
    QFETCH(int, pupil);
    QFETCH(int, level);
    QFETCH(int, score);
    Fixture f;
    ResultRecord bad = f.rec(0, 0, 0, score);
    bad.date = date == 0 ? f.today : date;
    bad.pupilNumber = qint16(pupil);
    bad.level = qint16(level);
    f.writeRecords({f.rec(0, 7, 1, 30), bad, f.rec(0, 7, 1, 35)});
    QVERIFY(loadRecordsAndCounts(f.s, f.t.services));
    QCOMPARE(f.s.records.recordCount, 2);
    QCOMPARE(f.loaded()[0].score, 30);
    QCOMPARE(f.loaded()[1].score, 35);
    QCOMPARE(f.cell(1, 7).runCount, 2);
    QCOMPARE(f.cell(1, 1).runCount, 0);
    QCOMPARE(f.cell(1, 1).personalBest, 99999);
    QCOMPARE(f.s.records.overallBest[1], 30); // a negative time never becomes a best
    QCOMPARE(f.s.records.hasRecords[0], quint8(0));
}

void TestRecordStore::countersOfAHandMadeFile()
{
    Fixture f;
    f.writeRecords({
        // Pupil 1, level 1 (target 40, factor 1, windows 7 and 30 days).
        f.rec(0, 1, 1, 30),    // today, 5 points
        f.rec(0, 1, 1, 99999), // today, timed out: no run, no points
        f.rec(0, 1, 1, 6000),  // today, not finished: no run, 0 points
        f.rec(-3, 1, 1, 40),   // 5 points
        f.rec(-7, 1, 1, 41),   // exactly 7 days ago: outside the first window, 4 points
        f.rec(-10, 1, 1, 20),  // 11 points
        f.rec(-40, 1, 1, 79),  // outside both windows, 4 points
        f.rec(1, 1, 1, 35),    // dated tomorrow (another PC's clock): not today
        // Pupil 2, level 2 (target 45, factor 1.5): a long run counts in full.
        f.rec(0, 2, 2, 1234), // ≥ 10 × 45: 0 points
        f.rec(0, 2, 2, 100),  // 1 point × 1.5 → 1
        // Pupil 3, level 3 (target 60, factor 0.7).
        f.rec(-1, 3, 3, 32), // 10 × 0.7 = 7
        f.rec(-1, 3, 3, 0),  // 55 × 0.7 = 38
        // Pupil 4, level 5: no target time.
        f.rec(0, 4, 5, 10),
    });
    QVERIFY(loadRecordsAndCounts(f.s, f.t.services));
    QCOMPARE(f.s.records.recordCount, 13);

    const PupilLevelStats& a = f.cell(1, 1);
    QCOMPARE(a.personalBest, 20);
    QCOMPARE(a.runCount, 6);
    QCOMPARE(a.recentRunCount, 3);  // 30, 40 and tomorrow's 35
    QCOMPARE(a.recentPoints, 15);   // 5 + 5 + 5
    QCOMPARE(a.window2RunCount, 5); // + 41 and 20
    QCOMPARE(a.window2Points, 30);  // + 4 + 11
    QCOMPARE(a.totalPoints, 34);
    QCOMPARE(a.scoreSum, 30 + 40 + 41 + 20 + 79 + 35);
    QCOMPARE(a.todayRunCount, 1);
    QCOMPARE(a.todayScoreSum, 30);
    QCOMPARE(a.todayPoints, 5);
    QCOMPARE(a.averageScore, 41); // 245 ÷ 6 = 40.8: the timed-out runs are not in it
    QCOMPARE(a.todayAverageScore, 30);

    const PupilLevelStats& b = f.cell(2, 2);
    QCOMPARE(b.runCount, 2);
    QCOMPARE(b.scoreSum, 1334); // the full 1234, not its first three digits
    QCOMPARE(b.averageScore, 667);
    QCOMPARE(b.todayAverageScore, 667);
    QCOMPARE(b.totalPoints, 1); // 1234 ≥ 10 × 45: 0; 100: 1 × 1.5 → 1
    QCOMPARE(b.todayPoints, 1);

    const PupilLevelStats& c = f.cell(3, 3);
    QCOMPARE(c.totalPoints, 45); // 7 + 38
    QCOMPARE(c.averageScore, 16);

    const PupilLevelStats& d = f.cell(5, 4);
    QCOMPARE(d.runCount, 1);
    QCOMPARE(d.totalPoints, 0);

    QCOMPARE(f.s.records.overallBest[1], 20);
    QCOMPARE(f.s.records.overallBest[2], 100);
    QCOMPARE(f.s.records.overallBest[3], 0);
    QCOMPARE(f.s.records.overallBest[4], 99999);
    QCOMPARE(f.s.records.hasRecords[4], quint8(1));
    QCOMPARE(f.s.records.hasRecords[5], quint8(0));
}

void TestRecordStore::recomputationForgetsOldRecords()
{
    Fixture f;
    f.writeRecords({f.rec(0, 1, 1, 30), f.rec(0, 2, 2, 40), f.rec(0, 3, 3, 99999)});
    QVERIFY(loadRecordsAndCounts(f.s, f.t.services));
    QCOMPARE(f.cell(2, 2).runCount, 1);
    f.run(4, 4, 22);
    QVERIFY(storeRun(f.s, f.t.services, 4));
    QCOMPARE(f.cell(4, 4).personalBest, 22);

    // Another file in place of the first (a restored backup): nothing of the
    // first may survive in the tables.
    f.writeRecords({f.rec(0, 1, 1, 35)});
    QVERIFY(loadRecordsAndCounts(f.s, f.t.services));
    QCOMPARE(f.cell(1, 1).personalBest, 35);
    QCOMPARE(f.cell(1, 1).runCount, 1);
    QCOMPARE(f.cell(2, 2).runCount, 0);
    QCOMPARE(f.cell(2, 2).personalBest, 99999);
    QCOMPARE(f.cell(2, 2).totalPoints, 0);
    QCOMPARE(f.cell(4, 4).personalBest, 99999);
    QCOMPARE(f.s.records.overallBest[2], 99999);
    QCOMPARE(f.s.records.overallBest[4], 99999);
    QCOMPARE(f.s.records.hasRecords[2], quint8(0));
    QCOMPARE(f.s.records.hasRecords[3], quint8(0));
    // Averages are kept when a pupil has no run to average.
    QCOMPARE(f.cell(2, 2).averageScore, 40);

    // The loader alone renews records and bests; the counters stay those of
    // the last computation until the next one.
    f.writeRecords({f.rec(0, 2, 2, 50), f.rec(0, 2, 2, 45)});
    QVERIFY(loadRecentRecords(f.s, f.t.services));
    QCOMPARE(f.s.records.recordCount, 2);
    QCOMPARE(f.cell(1, 1).personalBest, 99999);
    QCOMPARE(f.cell(1, 1).runCount, 1);
    QCOMPARE(f.cell(2, 2).personalBest, 45);
    QCOMPARE(f.s.records.overallBest[1], 99999);
    QCOMPARE(f.s.records.overallBest[2], 45);
    QCOMPARE(f.s.records.hasRecords[1], quint8(0));
    QVERIFY(loadRecordsAndCounts(f.s, f.t.services));
    QCOMPARE(f.cell(1, 1).runCount, 0);
    QCOMPARE(f.cell(2, 2).runCount, 2);
    QCOMPARE(f.cell(2, 2).averageScore, 48); // 47.5 rounds up
}

void TestRecordStore::unstorableRunIsRefused()
{
    Fixture f;
    f.run(0, 1, 30);
    QVERIFY(storeRun(f.s, f.t.services, 1));
    f.run(1, 36, 30);
    QVERIFY(storeRun(f.s, f.t.services, 36));
    f.run(1, 1, -5);
    QVERIFY(storeRun(f.s, f.t.services, 1));
    QCOMPARE(f.t.dialogs.texts.size(), 3);
    QVERIFY(f.t.dialogs.texts[0].startsWith(QStringLiteral("この成績は記録できません")));
    QCOMPARE(Fixture::readFile(f.resultPath()).size(), 0);
    QCOMPARE(f.s.records.newPersonalBest, false);
    QVERIFY(!f.t.end.requested());
}

void TestRecordStore::missingFolderIsRetriedFourTimes()
{
    Fixture f;
    f.s.recordsFolder = toFolderString(f.inst.path(QStringLiteral("接続されていない"))) + u'\\';
    QVERIFY(!loadRecordsAndCounts(f.s, f.t.services));
    QCOMPARE(f.t.clock.waited, 15000); // three waits of 5 s, the fourth failure ends
    QCOMPARE(f.t.dialogs.texts.size(), 1);
    QVERIFY(f.t.dialogs.texts[0].startsWith(QStringLiteral("ファイルがありません")));
    QVERIFY(f.t.dialogs.texts[0].contains(QStringLiteral("接続されていない")));
    QVERIFY(f.t.end.requested());
}

void TestRecordStore::folderThatAppearsIsLoaded()
{
    Fixture f;
    const QString folder = f.inst.path(QStringLiteral("あとから"));
    f.s.recordsFolder = toFolderString(folder) + u'\\';
    HookClock clock(QDateTime(QDate(2026, 12, 8), QTime(10, 0)));
    int waits = 0;
    clock.onWait = [&] {
        if (++waits == 2) {
            QDir().mkpath(folder);
            QFile out(folder + QStringLiteral("/成績累積データ.dat"));
            if (out.open(QIODevice::WriteOnly)) out.write(encodeResultRecord(f.rec(0, 1, 1, 30)));
        }
    };
    Services sv{clock, f.t.sound, f.t.dialogs, f.t.launcher, f.t.end};
    QVERIFY(loadRecordsAndCounts(f.s, sv));
    QCOMPARE(clock.waited, 10000);
    QCOMPARE(f.s.records.recordCount, 1);
    QVERIFY(f.t.dialogs.texts.isEmpty());
}

void TestRecordStore::refusedFileGivesUpAfterSixtySeconds_data()
{
    QTest::addColumn<bool>("folder");
    QTest::addColumn<int>("waitedMs");
    QTest::addColumn<QString>("says");
    // A socket exists but no one can open it as a file, as a file held by
    // another PC: retried each second, for a minute.
    QTest::newRow("refused file") << false << 60000 << QStringLiteral("60 秒");
    // Waiting would not help a folder of the file's name: said at once.
    QTest::newRow("folder of that name") << true << 0 << QStringLiteral("フォルダがあります");
}

void TestRecordStore::refusedFileGivesUpAfterSixtySeconds()
{
    QFETCH(bool, folder);
    QFETCH(int, waitedMs);
    QFETCH(QString, says);
    Fixture f;
    int socketFd = -1;
    if (folder) {
        QVERIFY(QDir().mkpath(f.resultPath()));
    } else {
        socketFd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray path = QFile::encodeName(f.resultPath());
        QVERIFY(path.size() < qsizetype(sizeof address.sun_path));
        std::memcpy(address.sun_path, path.constData(), std::size_t(path.size()));
        QCOMPARE(::bind(socketFd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    }
    QVERIFY(!loadRecordsAndCounts(f.s, f.t.services));
    if (socketFd >= 0) ::close(socketFd);
    QCOMPARE(f.t.clock.waited, qint64(waitedMs));
    QCOMPARE(f.t.dialogs.texts.size(), 1);
    QVERIFY(f.t.dialogs.texts[0].contains(QStringLiteral("成績累積データ.dat")));
    QVERIFY2(f.t.dialogs.texts[0].contains(says), qPrintable(f.t.dialogs.texts[0]));
    QVERIFY(f.t.end.requested());
}

void TestRecordStore::storeFailureEndsTheProgram()
{
    Fixture f;
    QVERIFY(QDir().mkpath(f.resultPath()));
    f.run(1, 1, 30);
    QVERIFY(!storeRun(f.s, f.t.services, 1));
    QCOMPARE(f.t.dialogs.texts.size(), 1);
    QVERIFY(f.t.dialogs.texts[0].startsWith(QStringLiteral("成績を記録できません")));
    QVERIFY(f.t.end.requested());
    QCOMPARE(f.t.end.exitCode(), 1);
    QVERIFY(!QFile::exists(f.logPath())); // nothing logged for a run that was not stored
}

void TestRecordStore::failedAppendLeavesNoPartOfARecord_data()
{
    QTest::addColumn<int>("records");    // already in the result file
    QTest::addColumn<int>("logRecords"); // already in the shared log, which then fails
    QTest::addColumn<bool>("readOnly");  // else full
    // 93 × 44 and 62 × 66 bytes end 4 bytes before a block's end: the first
    // 4 bytes of the record fit, the rest finds the disk full.
    QTest::newRow("full disk, 4 bytes of the record fit") << 93 << 0 << false;
    QTest::newRow("full disk, the run stored, not logged") << 3 << 62 << false;
    QTest::newRow("read-only disk") << 3 << 0 << true;
}

void TestRecordStore::failedAppendLeavesNoPartOfARecord()
{
    QFETCH(int, records);
    QFETCH(int, logRecords);
    QFETCH(bool, readOnly);
    Fixture f;
    SmallDisk disk(f.inst.root());
    if (!disk.failure.isEmpty()) QSKIP(qPrintable(disk.failure));
    f.inst.writeDefaults();
    f.writeRecords(QList<ResultRecord>(records, f.rec(-1, 1, 1, 30)));
    f.writeFile(f.logPath(), QByteArray(logRecords * 66, 'L'));
    const QString path = logRecords ? f.logPath() : f.resultPath();
    const QByteArray before = Fixture::readFile(path);
    QVERIFY(readOnly ? disk.makeReadOnly() : disk.fill());
    f.run(2, 1, 31);
    QVERIFY(!storeRun(f.s, f.t.services, 1));
    QCOMPARE(Fixture::readFile(path), before);
    const QString told = f.t.dialogs.texts.value(0);
    const QString reason = readOnly ? "書き込みが許可されていません" : "ディスクの空きがありません";
    QVERIFY2(told.contains(QFileInfo(path).fileName() + "\r\n理由：" + reason), qPrintable(told));
    QVERIFY(f.t.end.requested());
}

QTEST_GUILESS_MAIN(TestRecordStore)
#include "test_record_store.moc"
