// Every data file of an installation, damaged in each way a classroom PC
// damages them (missing, empty, cut short, too few values, words where
// numbers belong, bytes that are not code page 932, one line of 50 MB): the
// program, started as it starts, either refuses to start with a message
// naming the file, or goes through the name selection screen, the lobby, a
// stored run and back to the lobby. Either way the records already stored
// keep every byte.
#include "base/text_file.h"
#include "drill/drill_fixture.h"
#include "drill/drill_screen.h"
#include "program/startup.h"
#include "records/record_format.h"
#include "results/results_screen.h"
#include "support/screen_fixture.h"
#include "ui/stage.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <limits>
#include <map>
#include <unistd.h>

class TestBadFiles : public QObject {
    Q_OBJECT
private slots:
    void badFile_data();
    void badFile();
    void hugeSecondTimeKeepsTheRunGoing();
};

namespace {

const QString kSettings = QStringLiteral("ソルメア/設定.txt");
const QString kCommon = QStringLiteral("共通データ.txt");
const QString kLevels = QStringLiteral("ソルメア/タイム回数データ.txt");
const QString kRoster = QStringLiteral("生徒用名簿.txt");
const QString kSounds = QStringLiteral("音フォルダ/新音ファイル.txt");
const QString kResults = QStringLiteral("ソルメア/成績累積データ.dat");
const QString kLog = QStringLiteral("成績累積データ家庭用.dat");

// The file is removed.
const QByteArray kMissing = QByteArrayLiteral("<missing>");
// Replaced by 50 MB of the row's fill byte when the row runs.
const QByteArray kLong = QByteArrayLiteral("<50MB>");
// A folder in its place; made read-only; missing in a read-only folder; a link into nowhere.
const QByteArray kFolder = "<folder>", kReadOnly = "<read-only>", kReadOnlyFolder = "<read-only folder>",
                 kLinkToNowhere = "<link to nowhere>";

// How the program must end up.
enum class Outcome {
    Refused, // start-up stops: one message naming the file, the end requested
    Runs,    // a pupil signs in, a run is stored, the lobby shows again
    NoPupil, // the selection screen opens with no pupil and says why
};

// Text as the installation's files hold it: code page 932, CR LF.
QByteArray text(const QString& t)
{
    QString crlf = t;
    crlf.replace(u'\n', QStringLiteral("\r\n"));
    return encodeCp932(crlf);
}

const QDate kToday(2026, 12, 8);

QByteArray resultRecord(double date, int pupil, int level, int score, const QByteArray& site = "12345")
{
    ResultRecord r;
    r.date = date;
    r.time = 0.375;
    r.pupilNumber = qint16(pupil);
    r.level = qint16(level);
    r.score = score;
    QByteArray bytes = encodeResultRecord(r);
    bytes.replace(24, 5, site.leftJustified(5, ' ', true));
    return bytes;
}

QByteArray logRecord(double date, int pupil, int level, int score)
{
    ResultRecord r;
    r.date = date;
    r.pupilNumber = qint16(pupil);
    r.level = qint16(level);
    r.score = score;
    r.siteCode = QStringLiteral("12345");
    return encodeSharedLogRecord(SharedLogRecord::of(r, QStringLiteral("ソルメア\\")));
}

const double kDay = double(daySerial(kToday));

// The records already stored when the program starts.
QByteArray storedResults()
{
    return resultRecord(kDay - 2, 1, 1, 35) + resultRecord(kDay - 1, 2, 2, 50) + resultRecord(kDay, 1, 1, 38);
}
QByteArray storedLog()
{
    return logRecord(kDay - 2, 1, 1, 35) + logRecord(kDay - 1, 2, 2, 50) + logRecord(kDay, 1, 1, 38);
}

std::map<QString, QByteArray> snapshot(const QString& root)
{
    std::map<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        if (f.open(QIODevice::ReadOnly)) files[QDir(root).relativeFilePath(path)] = f.readAll();
    }
    return files;
}

} // namespace

void TestBadFiles::badFile_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<char>("fill");    // the byte of a 50 MB line
    QTest::addColumn<int>("outcome");  // Outcome
    QTest::addColumn<QString>("said"); // in the message, or in the selection screen's note

    const QByteArray bad = QByteArrayLiteral("\x81\x20\xff\xfd\x80");
    auto row = [](const char* name, const QString& file, const QByteArray& content, Outcome o, const QString& said = {},
                  char fill = 0) { QTest::newRow(name) << file << content << fill << int(o) << said; };
    const Outcome refused = Outcome::Refused, runs = Outcome::Runs;

    // 設定.txt: ten values, the first the layout.
    row("settings missing", kSettings, kMissing, refused, "設定.txt」を読み込めません");
    row("settings empty", kSettings, "", refused, "値が足りません");
    row("settings truncated", kSettings, "0,0,0,0,0,", refused, "値が足りません");
    row("settings too few values", kSettings, "0,0,0,0,0,0,0,0,0\r\n", refused, "10 個目の値がありません");
    row("settings non-numbers", kSettings, text("あ,い,う,え,お,か,き,く,け,こ\n"), runs);
    row("settings not cp932", kSettings, "0" + bad + ",0,0,0,0,0,0,0,0,0\r\n", runs);
    row("settings 50 MB line", kSettings, "0,0,0,0,0,0,0,0,0,0" + kLong + "\r\n", runs, {}, '9');
    row("settings with a byte-order mark", kSettings,
        "\xEF\xBB\xBF"
        "1,0,0,0,0,0,0,0,0,0\r\n",
        refused, "「設定.txt」を");

    // 共通データ.txt: month, organisation line, roster option, seven more.
    const QString common = QStringLiteral("4\n\"12345テスト教室\"\n0\n0\n0\n0\n0\n0\n0\n0\n");
    row("common data missing", kCommon, kMissing, refused, "共通データ.txt」を読み込めません");
    row("common data empty", kCommon, "", refused, "値が足りません");
    row("common data truncated", kCommon, text(common).left(12), refused, "値が足りません");
    row("common data too few values", kCommon, text("4\n\"12345テスト教室\"\n0\n"), refused, "4 個目の値がありません");
    row("common data non-numbers", kCommon, text("四月\n\"ABCDEテスト教室\"\nいいえ\na\nb\nc\nd\ne\nf\ng\n"), runs);
    row("common data not cp932", kCommon, text("4\n\"12345テスト") + bad + text("教室\"\n0\n0\n0\n0\n0\n0\n0\n0\n"),
        runs);
    row("common data 50 MB line", kCommon, text("4\n\"12345") + kLong + text("\"\n0\n0\n0\n0\n0\n0\n0\n0\n"), runs, {},
        'x');
    row("common data with a byte-order mark", kCommon, "\xEF\xBB\xBF" + text(common), refused, "バイト順マーク");

    // タイム回数データ.txt: twelve values a level, levels 1–4 offered.
    const QByteArray levels = text(TestInstallation::defaultLevelTable());
    row("level table missing", kLevels, kMissing, refused, "タイム回数データ.txt」を読み込めません");
    row("level table empty", kLevels, "", refused, "レベル 1 の目標タイム");
    row("level table truncated", kLevels, levels.left(levels.size() / 2), refused, "値が足りません");
    row("level table too few values", kLevels, text("0,0,0,0,1,0,0,7,30,0,0,0\n40,60,100,5,1,0,0,7,30,0,0,0\n"),
        refused, "レベル 2 の目標タイム");
    row("level table non-numbers", kLevels, QByteArray(levels).replace("40,60", "aa,bb"), refused,
        "レベル 1 の目標タイム");
    row("level table not cp932", kLevels, QByteArray(levels).replace("40,60", "40" + bad + ",60"), runs);
    row("level table 50 MB line", kLevels,
        QByteArray(levels).replace(",1,0,0,7,30,0,0,0\r\n40", ",1." + kLong + ",0,0,7,30,0,0,0\r\n40"), runs, {}, '0');

    // 生徒用名簿.txt: eight values a pupil. The selection screen says which
    // lines it could not read; the pupils it could read sign in.
    const QByteArray pupil2 = text("2,2015,0,0,\"すずき　たろう\",0,\"\",\"\"\n");
    const QByteArray roster = text("1,2017,0,0,\"やまだ　はなこ\",0,\"\",\"\"\n") + pupil2;
    row("roster missing", kRoster, kMissing, Outcome::NoPupil, "名簿ファイル「生徒用名簿.txt」がありません");
    row("roster empty", kRoster, "", Outcome::NoPupil, "名簿ファイル「生徒用名簿.txt」に生徒が");
    row("roster truncated", kRoster, roster.left(roster.size() - 20), runs, "2 行目：値が 8 個ありません");
    row("roster too few values", kRoster, "1,2017,0,0\r\n" + pupil2, runs, "1 行目：値が 8 個ありません");
    row("roster non-numbers", kRoster, text("一,二〇一七,0,0,\"やまだ\",0,\"\",\"\"\n") + pupil2, runs,
        "1 行目：番号が整数ではありません");
    row("roster not cp932", kRoster, text("1,2017,0,0,\"やま") + bad + text("\",0,\"\",\"\"\n") + pupil2, runs,
        "名簿ファイル「生徒用名簿.txt」の 1 行目に、シフトJIS（コードページ 932）にない文字があります。");
    const QString utf8Roster = QStringLiteral("1,2017,0,0,\"やまだ　はなこ\",0,\"\",\"\"\r\n");
    row("roster in UTF-8", kRoster, utf8Roster.toUtf8(), runs, "「生徒用名簿.txt」は UTF-8 で保存されているため");
    row("roster in UTF-8 with a byte-order mark", kRoster, "\xEF\xBB\xBF" + utf8Roster.toUtf8(), Outcome::NoPupil,
        "「生徒用名簿.txt」は UTF-8（BOM 付き）で保存されているため、名前が正しく表示されません。");
    row("roster 50 MB line", kRoster, "1" + kLong + text(",2017,0,0,\"やまだ\",0,\"\",\"\"\n") + pupil2, runs,
        "1 行目：番号が整数ではありません", '1');
    row("roster of 200 000 damaged lines", kRoster, QByteArray("x\r\n").repeated(200000) + pupil2, runs,
        "ほか 199995 行");

    // 新音ファイル.txt: group name, variants, "*". It holds no numbers.
    const QByteArray sounds = text(QStringLiteral("正解音2\nseikai1\nseikai2\n*\n間違い音2\nmachigai1\n*\n"));
    // The answer cues need a readable file each, else the fourth answer ends the program.
    row("sound list missing", kSounds, kMissing, refused, "新音ファイル.txt」を読み込めません");
    row("sound list empty", kSounds, "", refused, "「正解音2」がないか");
    row("sound list truncated", kSounds, sounds.left(sounds.size() / 2), refused, "「間違い音2」がないか");
    row("sound list too few values", kSounds, text("正解音2\n"), refused, "「正解音2」がないか");
    row("sound list names of no group", kSounds, "1\r\n2\r\n*\r\n", refused, "「正解音2」がないか");
    row("sound list not cp932", kSounds, bad + "\r\nseikai1\r\n*\r\n" + sounds, runs);
    row("sound list 50 MB line", kSounds, text("正解音2\nseikai") + kLong + "\r\n*\r\n", refused, "seikai", 's');
    row("sound list with a byte-order mark", kSounds, "\xEF\xBB\xBF" + sounds, refused,
        "「正解音2」がないか、音ファイルの名前が一つも書かれていません。\r\n1 行目：先頭に UTF-8 のバイト順マーク");
    row("every right-answer cue missing", kSounds, text("正解音2\nnone1\nnone2\n*\n間違い音2\nmachigai1\n*\n"), refused,
        "正解のときの音の組「正解音2」の音ファイル（none1.wav、none2.wav）が、音フォルダにないか読めません");
    row("one right-answer cue missing", kSounds, text("正解音2\nnone1\nseikai1\n*\n間違い音2\nmachigai1\n*\n"), runs);
    row("wrong-answer cue a folder", "音フォルダ/machigai1.wav", kFolder, refused,
        "「間違い音2」の音ファイル（machigai1.wav）");

    // 成績累積データ.dat: 44-byte records, appended only.
    const QByteArray kStoredResults = storedResults(), kStoredLog = storedLog();
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    row("result file missing", kResults, kMissing, runs);
    row("result file empty", kResults, "", runs);
    row("result file truncated", kResults, kStoredResults + kStoredResults.left(20), runs);
    row("result file too few values", kResults, kStoredResults.left(30), runs);
    row("result file non-numbers", kResults,
        kStoredResults + resultRecord(nan, 1, 1, 3) + resultRecord(inf, 1, 1, 3) + resultRecord(1e300, 1, 1, 3) +
            resultRecord(kDay, -7, 1, 3) + resultRecord(kDay, 1, 99, 3) + resultRecord(kDay, 1, 1, -5) +
            QByteArray(44, '\xff') + kStoredResults,
        runs);
    row("result file not cp932", kResults, kStoredResults + resultRecord(kDay, 2, 1, 41, bad), runs);
    row("result file 50 MB", kResults, kStoredResults + kLong, runs, {}, 'A');
    // A file no run can be appended to is refused before a run. Root writes anywhere.
    const bool root = ::geteuid() == 0;
    const Outcome refusedUnlessRoot = root ? runs : refused;
    row("result file a folder", kResults, kFolder, refused, "成績を記録できません。\r\n場所：");
    row("result file read-only", kResults, kReadOnly, refusedUnlessRoot, root ? "" : "成績累積データ.dat");
    row("records folder read-only", kResults, kReadOnlyFolder, refusedUnlessRoot, root ? "" : "成績累積データ.dat");

    // 成績累積データ家庭用.dat: 66-byte records, appended only, never read.
    row("shared log missing", kLog, kMissing, runs);
    row("shared log empty", kLog, "", runs);
    row("shared log truncated", kLog, kStoredLog + kStoredLog.left(20), runs);
    row("shared log too few values", kLog, kStoredLog.left(30), runs);
    row("shared log non-numbers", kLog, kStoredLog + QByteArray(66, '\xff') + kStoredLog, runs);
    row("shared log not cp932", kLog, kStoredLog + bad.leftJustified(66, '\x81'), runs);
    row("shared log 50 MB", kLog, kStoredLog + kLong, runs, {}, 'A');
    row("shared log a folder", kLog, kFolder, refused, "成績累積データ家庭用.dat");
    row("shared log read-only", kLog, kReadOnly, refusedUnlessRoot, root ? "" : "成績累積データ家庭用.dat");
    row("shared log a link into a missing folder", kLog, kLinkToNowhere, refused, "成績累積データ家庭用.dat");
}

void TestBadFiles::badFile()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    QFETCH(char, fill);
    QFETCH(int, outcome);
    QFETCH(QString, said);

    ScreenFixture f;
    auto& [inst, t, s, stage] = f;
    inst.writeBytes(kResults, storedResults());
    inst.writeBytes(kLog, storedLog());
    const QString where = inst.path(file), folder = QFileInfo(where).absolutePath();
    if (content == kMissing || content == kFolder || content == kReadOnlyFolder || content == kLinkToNowhere) {
        QFile::remove(where);
        if (content == kFolder) QVERIFY(QDir().mkdir(where));
        if (content == kReadOnlyFolder) QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        if (content == kLinkToNowhere) QVERIFY(QFile::link(inst.path(QStringLiteral("gone/x.dat")), where));
    } else if (content == kReadOnly) {
        QVERIFY(QFile::setPermissions(where, QFile::ReadOwner));
    } else {
        if (fill) content.replace(kLong, QByteArray(50 << 20, fill));
        inst.writeBytes(file, content);
    }
    content.clear();
    const std::map<QString, QByteArray> before = snapshot(inst.root());

    t.clock.set(QDateTime(kToday, QTime(10, 0)));
    const bool started = startUp(stage.app(), inst.programFolder());
    stage.activatePending();

    QString noteShown;
    int pupil = 0;
    if (outcome == int(Outcome::Refused)) {
        QVERIFY(!started);
        QVERIFY(t.end.requested());
        QCOMPARE(t.dialogs.texts.size(), 1);
        QVERIFY2(t.dialogs.texts[0].contains(said), qPrintable(t.dialogs.texts[0]));
        QCOMPARE(stage.current(), nullptr);
    } else {
        QVERIFY2(started, qPrintable(t.dialogs.texts.join(u'\n')));
        QCOMPARE(f.screen(), QStringLiteral("namesel"));
        auto* note = f.get<QLabel>(QStringLiteral("LabelNote"));
        QVERIFY(note);
        noteShown = note->isVisibleTo(stage.current()) ? note->text() : QString();
        QVERIFY2(noteShown.contains(said), qPrintable(noteShown.left(300)));
        QVERIFY2(noteShown.size() < 2000, "the note stays readable");
        auto* names = f.get<QListWidget>(QStringLiteral("List1"));
        if (outcome == int(Outcome::NoPupil)) {
            QCOMPARE(names->count(), 1); // the dashes alone
        } else {
            // The first pupil listed signs in and lets a run of level 1 time out.
            QVERIFY(names->count() >= 2);
            names->setCurrentRow(1);
            QTest::mouseClick(f.get<QPushButton>(QStringLiteral("Command14")), Qt::LeftButton);
            pupil = s.pupilNumber;
            QVERIFY(pupil >= 1);
            stage.activatePending();
            QCOMPARE(f.screen(), QStringLiteral("seisekitime1"));
            QTest::mouseClick(f.get<QPushButton>(QStringLiteral("Command4(1)")), Qt::LeftButton);
            stage.activatePending();
            auto* drill = qobject_cast<DrillScreen*>(stage.current());
            QVERIFY(drill);
            t.clock.advanceSeconds(5 * s.levelTable[1].secondTime + 1);
            drill->runTimerTick();
            auto* results = qobject_cast<ResultsScreen*>(stage.current());
            QVERIFY(results);
            stage.activatePending();
            results->showButtons();
            QTest::mouseClick(f.get<QPushButton>(QStringLiteral("Command4")), Qt::LeftButton);
            stage.activatePending();
            QCOMPARE(f.screen(), QStringLiteral("seisekitime1"));
        }
        // Painted as the pupil sees it, whatever the files held.
        QVERIFY(!stage.grab().isNull());
        QVERIFY2(t.dialogs.texts.isEmpty(), qPrintable(t.dialogs.texts.join(u'\n')));
        QVERIFY(!t.end.requested());
    }

    // Every file keeps its bytes; a stored run adds one record to each record
    // file, after its last whole record.
    const std::map<QString, QByteArray> after = snapshot(inst.root());
    for (const auto& [path, bytes] : before) QVERIFY2(after.count(path), qPrintable(path));
    for (const auto& [path, bytes] : after) {
        const bool results = path == kResults, log = path == kLog;
        const QByteArray was = before.count(path) ? before.at(path) : QByteArray();
        if (!pupil || !(results || log)) {
            QVERIFY2(bytes == was, qPrintable(path));
            continue;
        }
        const qsizetype size = results ? kResultRecordSize : kSharedLogRecordSize;
        const qsizetype whole = was.size() / size * size;
        QCOMPARE(bytes.size(), whole + size);
        QVERIFY2(bytes.left(whole) == was.left(whole), qPrintable(path));
        const char* added = bytes.constData() + whole;
        const int addedPupil = results ? getLe16(added + 16) : getLe16(added + 38);
        const int addedScore = results ? getLe32(added + 20) : getLe32(added + 42);
        QCOMPARE(addedPupil, pupil);
        QCOMPARE(addedScore, 99999);
    }
    if (pupil) {
        QVERIFY(after.count(kResults));
        QVERIFY(after.count(kLog));
    }
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// A second time of 500 000 000 s: five times it does not fit 32 bits, and
// the run must not end (and store a timed-out run) at its first tick.
void TestBadFiles::hugeSecondTimeKeepsTheRunGoing()
{
    DrillFixture f(1, QStringLiteral("0,0,0,0,1,0,0,7,30,0,0,0\n40,500000000,100,5,1,0,0,7,30,0,0,0\n"
                                     "45,70,100,5,1,0,0,7,30,0,0,0\n60,90,120,5,1,0,0,7,30,0,0,0\n"
                                     "60,90,150,5,1,0,0,7,30,0,0,0\n"));
    QVERIFY(f.openAndMark());
    f.tickAt(1.02);
    QCOMPARE(f.currentScreen(), QStringLiteral("MainFrm"));
    QCOMPARE(f.s.run.timeUp, false);
    QVERIFY(f.records().empty());
    QCOMPARE(f.s.run.runTimeLimit, std::numeric_limits<qint32>::max());
}

QTEST_MAIN(TestBadFiles)
#include "test_bad_files.moc"
