#include "base/folder_path.h"
#include "records/record_file.h"
#include "records/record_format.h"
#include "state/settings.h"
#include "state/shared_state.h"
#include "support/installation.h"

#include <QFile>
#include <QProcess>
#include <QTest>
#include <memory>

// Eight processes append to the same two files at once, as PCs sharing a
// network folder do: every record must arrive whole, once, where it belongs.
class TestRecordsConcurrency : public QObject {
    Q_OBJECT
private slots:
    void eightWritersAppendAtOnce();
};

namespace {
constexpr int kWriters = 8;
constexpr int kPerWriter = 500;

// The record writer w wrote as its i-th: checks the fields it can know from
// (pupil, score) and returns (w, i), or (-1, -1).
struct Origin {
    int writer = -1, index = -1;
};
Origin originOf(qint16 pupil, qint32 score)
{
    const int w = pupil - 101;
    const int i = score - w * 1000;
    if (w < 0 || w >= kWriters || i < 0 || i >= kPerWriter) return {};
    return {w, i};
}
} // namespace

void TestRecordsConcurrency::eightWritersAppendAtOnce()
{
    TestInstallation inst;
    inst.writeDefaults();
    auto state = std::make_unique<SharedState>();
    state->programFolder = toFolderString(inst.programFolder());
    loadSettings(*state);
    const QString startFile = inst.path(QStringLiteral("start"));

    std::vector<std::unique_ptr<QProcess>> writers;
    for (int w = 0; w < kWriters; ++w) {
        auto p = std::make_unique<QProcess>();
        p->setProcessChannelMode(QProcess::ForwardedChannels);
        p->start(QStringLiteral(APPEND_HELPER),
                 {inst.programFolder(), QString::number(w), QString::number(kPerWriter), startFile});
        QVERIFY(p->waitForStarted());
        writers.push_back(std::move(p));
    }
    QFile go(startFile);
    QVERIFY(go.open(QIODevice::WriteOnly));
    go.close();
    for (auto& p : writers) {
        QVERIFY(p->waitForFinished(120000));
        QCOMPARE(p->exitStatus(), QProcess::NormalExit);
        QCOMPARE(p->exitCode(), 0);
    }

    const QDateTime start(QDate(2026, 12, 8), QTime(9, 0));
    const double date = double(daySerial(start.date()));
    auto expectedTime = [&](int i) { return dayFraction(start.addSecs(i).time()); };

    QFile result(resultFilePath(*state));
    QVERIFY(result.open(QIODevice::ReadOnly));
    const QByteArray r = result.readAll();
    QCOMPARE(r.size(), kWriters * kPerWriter * 44);
    std::vector<int> next(kWriters, 0); // each writer's records arrive in its order
    int switches = 0, lastWriter = -1;
    for (int k = 0; k < kWriters * kPerWriter; ++k) {
        const ResultRecord rec = decodeResultRecord(r.constData() + k * 44);
        const Origin o = originOf(rec.pupilNumber, rec.score);
        QVERIFY2(o.writer >= 0, qPrintable(QStringLiteral("record %1 is torn").arg(k + 1)));
        QCOMPARE(o.index, next[std::size_t(o.writer)]);
        ++next[std::size_t(o.writer)];
        QCOMPARE(rec.level, qint16(1 + o.index % 35));
        QCOMPARE(rec.siteCode, QStringLiteral("W%1").arg(o.writer));
        QCOMPARE(rec.date, date);
        QCOMPARE(rec.time, expectedTime(o.index));
        QCOMPARE(rec.pointsText, QStringLiteral("0"));
        QCOMPARE(r.mid(k * 44 + 29, 5), QByteArray(5, ' '));
        QCOMPARE(r.mid(k * 44 + 39, 5), QByteArray(5, '\0'));
        if (o.writer != lastWriter) ++switches;
        lastWriter = o.writer;
    }
    for (int w = 0; w < kWriters; ++w) QCOMPARE(next[std::size_t(w)], kPerWriter);
    // The writers did run at the same time (else the test proves nothing).
    QVERIFY2(switches > kWriters, qPrintable(QStringLiteral("%1 changes of writer").arg(switches)));
    qInfo("result file: %d changes of writer", switches);

    QFile log(sharedLogPath(*state));
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QByteArray l = log.readAll();
    QCOMPARE(l.size(), kWriters * kPerWriter * 66);
    std::fill(next.begin(), next.end(), 0);
    for (int k = 0; k < kWriters * kPerWriter; ++k) {
        const SharedLogRecord rec = decodeSharedLogRecord(l.constData() + k * 66);
        const Origin o = originOf(rec.pupilNumber, rec.score);
        QVERIFY2(o.writer >= 0, qPrintable(QStringLiteral("log record %1 is torn").arg(k + 1)));
        QCOMPARE(o.index, next[std::size_t(o.writer)]);
        ++next[std::size_t(o.writer)];
        QCOMPARE(rec.titleFolder, QStringLiteral("ソルメア\\"));
        QCOMPARE(rec.contentCode, qint16(0));
        QCOMPARE(rec.level, qint16(1 + o.index % 35));
        QCOMPARE(rec.siteCode, QStringLiteral("W%1").arg(o.writer));
        QCOMPARE(rec.date, date);
        QCOMPARE(rec.time, expectedTime(o.index));
        QCOMPARE(l.mid(k * 66 + 51, 15), QByteArray(15, '\0'));
    }
    for (int w = 0; w < kWriters; ++w) QCOMPARE(next[std::size_t(w)], kPerWriter);
}

QTEST_GUILESS_MAIN(TestRecordsConcurrency)
#include "test_records_concurrency.moc"
