#include "base/text_util.h"
#include "lobby/report_figures.h"
#include "lobby/report_painter.h"
#include "lobby/report_panel.h"
#include "lobby_fixture.h"
#include "records/record_passes.h"
#include "ui/fonts.h"

#include <QImage>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

class TestReport : public QObject {
    Q_OBJECT
private slots:
    void figures_data();
    void figures();
    void timeScale_data();
    void timeScale();
    void runAxis_data();
    void runAxis();
    void pages_data();
    void pages();
    void chosenPupil_data();
    void chosenPupil();
    void teacherOnly();
    void pdfHoldsJapaneseText();
};

namespace {
const QDate kToday(2026, 12, 8);

// Level 1 (target 40, factor 1). Pupil 1: 20 s today, 30 s three days ago
// (16 points); pupil 2: 20 s today and a time-out (11 points); pupil 3: no
// run; pupil 4: 40 s yesterday (5 points).
void fillState(SharedState& s, const QString& name1, const QString& name2, bool pupil3TimedOut = false)
{
    setLobbyLevels(s);
    s.levelTable[1].targetTime = 40;
    s.levelTable[1].pointFactor = PointFactor::fromText(QStringLiteral("1"));
    RosterTables& r = s.roster;
    r.schoolYear = 2026;
    const QString names[] = {name1, name2, QStringLiteral("さとう"), QStringLiteral("たなか")};
    const qint16 years[] = {2017, 2015, 2013, 2014};
    for (int p = 1; p <= 4; ++p) {
        r.names[std::size_t(p)] = fixedWidth(names[p - 1], 20);
        r.birthYears[std::size_t(p)] = years[p - 1];
    }
    r.listed = {1, 2, 3, 4};
    QByteArray bytes;
    const int runs[][3] = {{1, 20, 0}, {1, 30, 3}, {2, 20, 0}, {2, 99999, 0}, {4, 40, 1}, {3, 99999, 0}};
    for (const auto& run : runs) {
        if (run[0] == 3 && !pupil3TimedOut) continue;
        ResultRecord rec;
        rec.date = double(daySerial(kToday.addDays(-run[2])));
        rec.pupilNumber = qint16(run[0]);
        rec.level = 1;
        rec.score = run[1];
        bytes += encodeResultRecord(rec);
    }
    loadAndCount(s.records, bytes.constData(), bytes.size() / 44, s.levelTable, kToday);
}

int pdfPages(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page[^s]"));
    return int(QString::fromLatin1(f.readAll()).count(page));
}

void selectLevels(LobbyFixture& f, const QList<int>& levels)
{
    auto* list3 = f.get<QListWidget>(QStringLiteral("List3"));
    list3->clearSelection();
    for (int level : levels) list3->item(level - 1)->setSelected(true);
}

// The lobby with some runs, the personal times shown and the report opened.
ReportPanel* openReport(LobbyFixture& f)
{
    f.addRun(1, 1, 25, 3);
    f.addRun(1, 1, 20);
    f.addRun(2, 1, 35);
    f.addRun(1, 2, 99999);
    f.addRun(1, 3, 50);
    if (!f.open()) return nullptr;
    QTest::mouseClick(f.get(QStringLiteral("Option2(2)")), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(f.get(QStringLiteral("Command17")), Qt::LeftButton);
    return f.stage.current()->findChild<ReportPanel*>(QStringLiteral("Picture11"));
}
} // namespace

// clang-format off
void TestReport::figures_data()
{
    QTest::addColumn<int>("pupil");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("name2");
    // runs, rank by time, best, average, overall best, overall average, rank
    // by points, points, average points of the pupils with points.
    QTest::addColumn<QString>("figures");
    QTest::newRow("pupil 1 shares the best time") << 1 << "全学年" << "すずき" << "2 1 20 25 20 28 1 16 11";
    QTest::newRow("pupil 2: the tie, the time-out not a run") << 2 << "全学年" << "すずき" << "1 1 20 20 20 28 2 11 11";
    QTest::newRow("pupil 3 without runs") << 3 << "全学年" << "すずき" << "0 0 -- -- 20 28 4 0 11";
    QTest::newRow("pupil 3 timed out: ranked after every time") << 3 << "全学年" << "時間切れ" << "0 4 -- -- 20 28 4 0 11";
    QTest::newRow("pupil 4 after the tie") << 4 << "全学年" << "すずき" << "1 3 40 40 20 28 3 5 11";
    QTest::newRow("average points of the pupils the filter shows") << 1 << "小５" << "すずき" << "2 1 20 25 20 28 1 16 11";
    QTest::newRow("a name inside another: found by number") << 2 << "全学年" << "ゆう" << "1 1 20 20 20 28 2 11 11";
}
// clang-format on

void TestReport::figures()
{
    QFETCH(int, pupil);
    QFETCH(QString, filter);
    QFETCH(QString, name2);
    QFETCH(QString, figures);
    SharedState s;
    fillState(s, QStringLiteral("ゆうき"), name2, name2 == QStringLiteral("時間切れ"));
    const report::LevelFigures f = report::levelFigures(s, 1, pupil, lists::Viewer{&s.roster, 1, filter});
    auto time = [](qint32 t) {
        return t < 0 || t >= score::kAllFailedBest ? QStringLiteral("--") : QString::number(t);
    };
    const QString got =
        QStringList{QString::number(f.runs),      QString::number(f.timeRank), time(f.ownBest),
                    time(f.ownAverage),           time(f.overallBest),         time(f.overallAverage),
                    QString::number(f.pointRank), QString::number(f.points),   QString::number(f.averagePoints())}
            .join(u' ');
    QCOMPARE(got, figures);
    QCOMPARE(f.pupilsRanked, 4);
}

void TestReport::timeScale_data()
{
    QTest::addColumn<int>("longest");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("step");
    QTest::newRow("69 s: up to 80 by 20") << 69 << 80 << 20;
    QTest::newRow("100 s exactly") << 100 << 100 << 20;
    QTest::newRow("101 s: up to 150 by 50") << 101 << 150 << 50;
    QTest::newRow("3 s") << 3 << 3 << 1;
    QTest::newRow("5999 s") << 5999 << 6000 << 2000;
}

void TestReport::timeScale()
{
    QFETCH(int, longest);
    QFETCH(int, top);
    QFETCH(int, step);
    const TimeScale scale = ::timeScale(longest);
    QCOMPARE(scale.top, top);
    QCOMPARE(scale.step, step);
    QVERIFY(scale.top >= longest && scale.top / scale.step <= 5);
}

void TestReport::runAxis_data()
{
    QTest::addColumn<int>("runs");
    QTest::addColumn<double>("width"); // of the plot
    for (const int runs : {1, 9, 191, 400, 999, 20000})
        for (const double width : {320.0, 120.0}) QTest::addRow("%d runs on %g px", runs, width) << runs << width;
}

void TestReport::runAxis()
{
    QFETCH(int, runs);
    QFETCH(double, width);
    const QFontMetricsF fm(designFont(kGothic, 9));
    const RunAxis axis = ::runAxis(QRectF(40, 20, width, 200), runs, fm);
    QVERIFY(!axis.labels.empty() && axis.labels.size() <= 11);
    QCOMPARE(axis.labels.back().text, QString::number(runs));
    for (std::size_t i = 0; i < axis.labels.size(); ++i) // clear of the unit and of each other
        QVERIFY2(!axis.labels[i].box.intersects(axis.unit) &&
                     (i == 0 || axis.labels[i - 1].box.right() < axis.labels[i].box.left()),
                 qPrintable(axis.labels[i].text));
}

void TestReport::pages_data()
{
    QTest::addColumn<QList<int>>("levels");
    QTest::addColumn<int>("printed");
    QTest::addColumn<QString>("screen"); // the levels of each page drawn on screen
    QTest::newRow("two levels, one page") << QList<int>{1, 3} << 1 << "1 3";
    QTest::newRow("three levels fill a page") << QList<int>{1, 2, 3} << 1 << "1 2 3";
    QTest::newRow("four levels: a second page below the first") << QList<int>{1, 2, 3, 4} << 2 << "1 2 3|4";
    QTest::newRow("no level: nothing to print") << QList<int>{} << 0 << "";
}

void TestReport::pages()
{
    QFETCH(QList<int>, levels);
    QFETCH(int, printed);
    QFETCH(QString, screen);
    LobbyFixture f;
    f.s.pupilName = QStringLiteral("先生");
    ReportPanel* panel = openReport(f);
    QVERIFY(panel && panel->isVisible());
    selectLevels(f, levels);
    QTest::mouseClick(f.get(QStringLiteral("Command24(0)")), Qt::LeftButton);
    QStringList pages;
    for (const auto& page : panel->screenPages()) {
        QStringList numbers;
        for (int level : page) numbers << QString::number(level);
        pages << numbers.join(u' ');
    }
    QCOMPARE(pages.join(u'|'), screen);
    // On screen every page is the panel's width and reached with the wheel.
    auto* sheets = f.get<ReportPages>(QStringLiteral("ReportPages"));
    auto* area = f.get<QScrollArea>(QStringLiteral("Picture12"));
    QScrollBar* bar = area->verticalScrollBar();
    QVERIFY(sheets->pageCount() == printed && sheets->width() > 700);
    QWheelEvent down(QPointF(50, 50), area->mapToGlobal(QPointF(50, 50)), {}, {0, -120}, Qt::NoButton, {},
                     Qt::NoScrollPhase, false);
    for (int i = 0; i < 30; ++i) QApplication::sendEvent(area->viewport(), &down);
    if (printed > 0) QVERIFY(bar->value() >= sheets->pageTop(printed - 1));
    QCOMPARE(bar->value() + bar->pageStep(), std::max(sheets->height(), bar->pageStep()));

    f.t.dialogs.printToPdf = f.inst.path(QStringLiteral("report.pdf"));
    QTest::mouseClick(f.get(QStringLiteral("Command24(1)")), Qt::LeftButton);
    QCOMPARE(f.t.dialogs.printDialogs, printed > 0 ? 1 : 0);
    QCOMPARE(f.t.dialogs.texts.size(), printed > 0 ? 0 : 1);
    QCOMPARE(pdfPages(f.t.dialogs.printToPdf), printed > 0 ? printed : -1);
}

void TestReport::chosenPupil_data()
{
    QTest::addColumn<int>("line"); // the chooser line selected, -1: none
    QTest::addColumn<int>("pupil");
    QTest::newRow("no line selected keeps the pupil the graph opened with") << -1 << 1;
    QTest::newRow("the selected line's pupil") << 1 << 2;
}

void TestReport::chosenPupil()
{
    QFETCH(int, line);
    QFETCH(int, pupil);
    LobbyFixture f;
    f.s.pupilName = QStringLiteral("山田先生");
    ReportPanel* panel = openReport(f);
    QVERIFY(panel);
    // The graph opens for the current pupil with levels 1–3 and the chooser hidden.
    QCOMPARE(panel->chosenPupil(), 1);
    auto* list3 = f.get<QListWidget>(QStringLiteral("List3"));
    QCOMPARE(list3->count(), 4);
    QCOMPARE(list3->selectedItems().size(), 3);
    QVERIFY(!list3->item(3)->isSelected());
    auto* list2 = f.get<QListWidget>(QStringLiteral("List2"));
    QVERIFY(list2->isHidden());
    QCOMPARE(list2->item(1)->text(), QStringLiteral("小５ /  すずき　たろう/2"));

    QTest::mouseClick(f.get(QStringLiteral("Command25")), Qt::LeftButton);
    QVERIFY(!list2->isHidden());
    if (line >= 0) list2->item(line)->setSelected(true);
    f.t.dialogs.printToPdf = f.inst.path(QStringLiteral("report.pdf"));
    QTest::mouseClick(f.get(QStringLiteral("Command24(1)")), Qt::LeftButton);
    QCOMPARE(panel->chosenPupil(), pupil);
    QCOMPARE(pdfPages(f.t.dialogs.printToPdf), 1);

    // Any display option puts the panel away.
    QTest::mouseClick(f.get(QStringLiteral("Option2(0)")), Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(panel->isHidden());
    QVERIFY(f.get(QStringLiteral("Command17"))->isHidden());
}

void TestReport::teacherOnly()
{
    LobbyFixture f; // やまだ　はなこ, a pupil
    QVERIFY(openReport(f));
    for (const char* name : {"Command24(1)", "CommandPreview", "CommandPdf", "Command20"})
        QVERIFY2(f.get(QString::fromLatin1(name))->isHidden(), name);
    QVERIFY(!f.get(QStringLiteral("Command24(0)"))->isHidden());
}

void TestReport::pdfHoldsJapaneseText()
{
    LobbyFixture f;
    f.s.pupilName = QStringLiteral("先生");
    QVERIFY(openReport(f));
    // The preview draws through the same routine.
    f.t.dialogs.printToPdf = f.inst.path(QStringLiteral("preview.pdf"));
    QTest::mouseClick(f.get(QStringLiteral("CommandPreview")), Qt::LeftButton);
    QCOMPARE(f.t.dialogs.previews, 1);
    QCOMPARE(pdfPages(f.t.dialogs.printToPdf), 1);

    // Saved as a PDF: the file chosen, with the Japanese font embedded.
    f.t.dialogs.saveFile = f.inst.path(QStringLiteral("成績表.pdf"));
    QTest::mouseClick(f.get(QStringLiteral("CommandPdf")), Qt::LeftButton);
    QVERIFY(f.t.dialogs.suggestedFiles.value(0).endsWith(QStringLiteral("成績表_やまだ　はなこ.pdf")));
    QFile pdf(f.t.dialogs.saveFile);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QVERIFY(QString::fromLatin1(pdf.readAll())
                .contains(QRegularExpression(QStringLiteral("/FontName /\\w*\\+?IPAGothic"))));
    QCOMPARE(f.text(QStringLiteral("LabelReportNote")), QStringLiteral("PDFを保存しました：") + f.t.dialogs.saveFile);
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {f.t.dialogs.saveFile, QStringLiteral("-")});
    const QString words = text.waitForFinished() ? QString::fromUtf8(text.readAllStandardOutput()) : QString();
    // The renderer splits the line at its wide blanks and reads "～" as the wave dash.
    QVERIFY2(words.contains(QStringLiteral("作成日：2026年12月8日\n\nグラフの期間：2016年12月11日")),
             qPrintable(words));
    // Another program's renderer draws the page: text and points, not a blank sheet.
    const QString png = f.inst.path(QStringLiteral("page"));
    QCOMPARE(QProcess::execute(QStringLiteral("pdftoppm"),
                               {QStringLiteral("-r"), QStringLiteral("50"), QStringLiteral("-png"),
                                QStringLiteral("-singlefile"), f.t.dialogs.saveFile, png}),
             0);
    const QImage page(png + QStringLiteral(".png"));
    QVERIFY(!page.isNull());
    int dark = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) dark += qGray(page.pixel(x, y)) < 128;
    QVERIFY2(dark > 500, qPrintable(QString::number(dark)));
    // A file that cannot be written is said so, nothing else happens.
    f.t.dialogs.saveFile = f.inst.path(QStringLiteral("no-such-folder/成績表.pdf"));
    QTest::mouseClick(f.get(QStringLiteral("CommandPdf")), Qt::LeftButton);
    QVERIFY(f.t.dialogs.texts.value(0).startsWith(QStringLiteral("PDFを保存できません。")));
}

QTEST_MAIN(TestReport)
#include "test_report.moc"
