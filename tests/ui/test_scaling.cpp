// The stage on screens larger and smaller than the design. The program runs
// three times, on X servers of 1024×768, 2048×1536 and 1024×700 (see
// CMakeLists.txt); each test looks up what this server's size should give.
// Clicks, keys and drags go through the real X server (xdotool).
#include "about/about_box.h"
#include "drill/drill_fixture.h"
#include "ui/stage_fit.h"

#include <QDialog>
#include <QGraphicsProxyWidget>
#include <QImage>
#include <QListWidget>
#include <QProcess>
#include <QScreen>
#include <QScrollBar>

namespace {

struct ServerCase {
    QSize server;
    QSize window;       // the stage's window as first shown
    double windowScale; // the design's factor in it
    double fullScale;   // the factor full screen
};

const ServerCase kCases[] = {
    {{1024, 768}, {1024, 768}, 1.0, 1.0},
    {{2048, 1536}, {1024, 768}, 1.0, 2.0},
    {{1024, 700}, {933, 700}, 933.0 / 1024, 700.0 / 768},
};

const ServerCase* thisServer()
{
    const QSize size = QGuiApplication::primaryScreen()->size();
    for (const ServerCase& c : kCases)
        if (c.server == size) return &c;
    return nullptr;
}

// The colour the X server shows at a point: what the pupil sees.
QColor screenColour(QPoint global)
{
    QProcess import;
    import.start(QStringLiteral("import"),
                 {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("-crop"),
                  QStringLiteral("1x1+%1+%2").arg(global.x()).arg(global.y()), QStringLiteral("ppm:-")});
    if (!import.waitForFinished(10000)) return {};
    const QImage image = QImage::fromData(import.readAllStandardOutput(), "PPM");
    return image.isNull() ? QColor() : image.pixelColor(0, 0);
}

bool near(double a, double b) { return std::abs(a - b) < 0.0005; }

QPoint centreOf(const QWidget* w) { return w->mapToGlobal(w->rect().center()); }
QString moveTo(QPoint p) { return QStringLiteral("mousemove %1 %2 ").arg(p.x()).arg(p.y()); }

// Runs an xdotool command line while the event loop goes on.
bool xdo(const QString& command)
{
    QProcess p;
    p.start(QStringLiteral("xdotool"), QProcess::splitCommand(command));
    return p.waitForStarted() && QTest::qWaitFor([&] { return p.state() == QProcess::NotRunning; }, 10000) &&
           p.exitCode() == 0;
}
bool click(const QWidget* w) { return xdo(moveTo(centreOf(w)) + QStringLiteral("click 1")); }
bool key(const char* name) { return xdo(QStringLiteral("key ") + QLatin1String(name)); }

// Presses on `from`, carries it over to `to` in steps and lets go.
bool drag(const QWidget* from, const QWidget* to)
{
    const QPoint a = centreOf(from), b = centreOf(to);
    QString command = moveTo(a) + QStringLiteral("mousedown 1 ");
    for (int step = 1; step <= 5; ++step)
        command += QStringLiteral("sleep 0.15 ") + moveTo(step < 5 ? a + (b - a) * step / 4 : b + QPoint(1, 1));
    return xdo(command + QStringLiteral("sleep 0.15 mouseup 1"));
}

QRect globalRect(const QWidget* w) { return {w->mapToGlobal(QPoint(0, 0)), w->mapToGlobal(w->rect().bottomRight())}; }
// What the X server shows in `area`, once the stage has drawn what changed.
QImage shot(const QRect& area)
{
    QTest::qWait(100);
    return QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage();
}

} // namespace

class TestScaling : public QObject {
    Q_OBJECT
private slots:
    void fit_data();
    void fit();
    void screenAsFirstShown_data();
    void screenAsFirstShown();
    void drillFullScreen();
    void focusShows_data();
    void focusShows();
};

void TestScaling::fit_data()
{
    QTest::addColumn<QSize>("window");
    QTest::addColumn<double>("factor");
    QTest::addColumn<QRect>("area");
    QTest::addColumn<QSize>("fittedInIt"); // the window for a screen of this free area
    const QSize design(1024, 768);
    QTest::newRow("the design size shows as designed") << design << 1.0 << QRect(0, 0, 1024, 768) << design;
    QTest::newRow("twice the design") << QSize(2048, 1536) << 2.0 << QRect(0, 0, 2048, 1536) << design;
    QTest::newRow("a wide screen has bands left and right")
        << QSize(1920, 1080) << 1.40625 << QRect(240, 0, 1440, 1080) << design;
    QTest::newRow("a tall window has bands above and below")
        << QSize(1024, 1024) << 1.0 << QRect(0, 128, 1024, 768) << design;
    QTest::newRow("wider only stays at its size") << QSize(1280, 768) << 1.0 << QRect(128, 0, 1024, 768) << design;
    QTest::newRow("lower than the design")
        << QSize(1024, 700) << 59733.0 / 65536 << QRect(45, 0, 933, 700) << QSize(933, 700);
    QTest::newRow("a fitted window is filled")
        << QSize(933, 700) << 59712.0 / 65536 << QRect(0, 0, 933, 700) << QSize(933, 700);
    QTest::newRow("a 1024x768 monitor less title bar and taskbar")
        << QSize(1024, 698) << 59562.0 / 65536 << QRect(46, 0, 931, 698) << QSize(931, 698);
}

void TestScaling::fit()
{
    QFETCH(QSize, window);
    QFETCH(double, factor);
    QFETCH(QRect, area);
    QFETCH(QSize, fittedInIt);
    const StageFit fit = fitDesign(window);
    QCOMPARE(fit.factor, factor);
    QCOMPARE(fit.area, area);
    QCOMPARE(fittedWindowSize(window), fittedInIt);
}

void TestScaling::screenAsFirstShown_data()
{
    QTest::addColumn<bool>("drill");
    QTest::newRow("name selection") << false;
    QTest::newRow("drill") << true;
}

void TestScaling::screenAsFirstShown()
{
    QFETCH(bool, drill);
    const ServerCase* c = thisServer();
    QVERIFY2(c, "an X server of a size this test knows");
    DrillFixture f;
    QVERIFY(f.stage.current());
    if (drill) QVERIFY(f.open());
    Screen* screen = f.stage.current();
    QVERIFY(QTest::qWaitForWindowExposed(&f.stage));

    QCOMPARE(f.stage.size(), c->window);
    QVERIFY2(near(f.stage.scale(), c->windowScale), qPrintable(QString::number(f.stage.scale())));
    if (c->windowScale == 1.0) {
        // As designed: the screen's own widget in its place on the window.
        QCOMPARE(screen->parentWidget(), &f.stage);
        QCOMPARE(screen->geometry(), QRect(0, 0, 1024, 768));
        QVERIFY(!screen->graphicsProxyWidget());
    }
    // Every control, the bottom row ("O.K.") included, is wholly on the screen.
    const QRect available = f.stage.screen()->availableGeometry();
    for (QWidget* w : screen->findChildren<QWidget*>()) {
        if (!w->isVisible() || w->isWindow()) continue;
        const QRect global(w->mapToGlobal(QPoint(0, 0)), w->mapToGlobal(w->rect().bottomRight()));
        QVERIFY2(available.contains(global), qPrintable(w->objectName()));
    }
}

void TestScaling::drillFullScreen()
{
    const ServerCase* c = thisServer();
    QVERIFY2(c, "an X server of a size this test knows");
    DrillFixture f;
    QVERIFY(f.open());
    f.stage.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.stage));

    QVERIFY(key("F11"));
    QTRY_COMPARE(f.stage.size(), c->server);
    QVERIFY2(near(f.stage.scale(), c->fullScale), qPrintable(QString::number(f.stage.scale())));
    // A control is drawn at the factor's size.
    QLabel* times = f.op(3);
    const QRect onScreen(times->mapToGlobal(QPoint(0, 0)), times->mapToGlobal(times->rect().bottomRight()));
    QVERIFY(std::abs(onScreen.width() - times->width() * c->fullScale) <= 1.5);
    QVERIFY(std::abs(onScreen.height() - times->height() * c->fullScale) <= 1.5);

    // A click lands on the control under the pointer.
    QVERIFY(click(times));
    QTRY_COMPARE(f.blank(1)->text(), QStringLiteral("×"));
    QVERIFY(click(f.label(QStringLiteral("LblDD5"))));
    QTRY_COMPARE(f.blank(1)->text(), QString());

    // A drag of "÷" onto the second blank: the press fills the first blank,
    // only the drop fills the second.
    QVERIFY(drag(f.op(4), f.blank(2)));
    QTRY_COMPARE(f.blank(2)->text(), QStringLiteral("÷"));
    QCOMPARE(f.blank(1)->text(), QStringLiteral("÷"));

    // The keyboard reaches the drill.
    QVERIFY(key("Delete"));
    QTRY_COMPARE(f.blank(2)->text(), QString());

    // A change is on the screen once the posted repaints are delivered: the
    // cues deliver them and then block while they play.
    const QPoint answer = centreOf(f.answerButton());
    f.answerButton()->hide();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    QCOMPARE(screenColour(answer), QColor(0xff, 0xfa, 0xeb)); // the panel behind the button
    // A window the screen opens stays a window of its own (a message box in
    // the scene would not block the screen behind it).
    QDialog box(f.drill);
    QVERIFY(!box.graphicsProxyWidget());

    // Escape gives the window back as it was.
    QVERIFY(key("Escape"));
    QTRY_COMPARE(f.stage.size(), c->window);
    QVERIFY(near(f.stage.scale(), c->windowScale));
    if (c->windowScale == 1.0) {
        QCOMPARE(f.drill->parentWidget(), &f.stage);
        QCOMPARE(f.drill->geometry(), QRect(0, 0, 1024, 768));
    }
    QVERIFY(click(f.op(2)));
    QTRY_COMPARE(f.blank(2)->text(), QStringLiteral("－")); // the first empty blank: Delete erased only the second
}

// clang-format off
void TestScaling::focusShows_data()
{
    QTest::addColumn<QString>("screen");
    QTest::addColumn<QString>("from"); // the control with the focus; Tab moves it on unless it is the only one
    QTest::newRow("names") << "namesel" << "List1";
    QTest::newRow("roster editor") << "FrmName2" << "Text2(1)";
    QTest::newRow("lobby; its instructions scroll by the wheel") << "seisekitime1" << "Command1";
    QTest::newRow("drill: the answer button, its only control") << "MainFrm" << "Command5";
    QTest::newRow("results") << "FrmSyuuryou" << "Command4";
    QTest::newRow("report panel; no notch between the personal times' lists") << "Picture11" << "Command25";
    QTest::newRow("about box: its only button") << "frmver" << "Command1";
}
// clang-format on

// On every screen the control Tab moves to shows a thick frame, at the stage's
// factor: 1 (1024×768), 2 (full screen on 2048×1536), 0.91 (window on 1024×700).
void TestScaling::focusShows()
{
    QFETCH(QString, screen);
    QFETCH(QString, from);
    const bool tab = screen != u"MainFrm" && screen != u"frmver";
    const ServerCase* c = thisServer();
    QVERIFY2(c, "an X server of a size this test knows");
    DrillFixture f;
    if (c->fullScale == 2.0) f.stage.toggleFullScreen();
    if (screen == u"FrmName2") f.stage.app().navigator.showRosterEditor();
    if (screen == u"seisekitime1" || screen == u"Picture11") f.stage.app().navigator.openLobby();
    if (screen == u"MainFrm" || screen == u"FrmSyuuryou") QVERIFY(f.open());
    if (screen == u"FrmSyuuryou") f.stage.app().navigator.showResults();
    f.stage.activatePending(); // the screen's load
    AboutBox box(f.s, &f.stage);
    QWidget* window = screen == u"frmver" ? &box : static_cast<QWidget*>(&f.stage);
    QWidget* top = window == &box ? window : f.stage.current();
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    const double factor = window == &box ? 1.0 : c->fullScale == 2.0 ? 2.0 : c->windowScale;
    QTRY_VERIFY(window == &box || near(f.stage.scale(), factor));
    if (QWidget* wait = top->findChild<QWidget*>(QStringLiteral("Picture5"))) QTRY_VERIFY(!wait->isVisible());
    if (screen == u"Picture11") {
        QVERIFY(click(top->findChild<QWidget*>(QStringLiteral("Option2(2)"))));
        // Right of a column's list the background shows all the way down.
        const QRect l = globalRect(top->findChild<QWidget*>(QStringLiteral("List5(1)")));
        const QImage gap = shot(QRect(l.right() + 1, l.top(), 1, l.height()));
        for (int y = 0; y < gap.height(); ++y) QVERIFY2(qGray(gap.pixel(0, y)) < 200, qPrintable(QString::number(y)));
        QVERIFY(click(top->findChild<QWidget*>(QStringLiteral("Command17"))));
    }
    QWidget* before = top->findChild<QWidget*>(from);
    QTRY_VERIFY(before && before->isVisible());
    before->setFocus();
    const QImage unfocused = shot(globalRect(window));
    if (tab) QVERIFY(key("Tab"));
    QTRY_VERIFY(top->focusWidget() && (top->focusWidget() != before) == tab);
    const QRect at = globalRect(top->focusWidget()).translated(-globalRect(window).topLeft());
    const QImage was = unfocused.copy(at), is = shot(globalRect(window)).copy(at);
    QVERIFY(!tab || was != is);
    // A frame at least 3 px wide at the design size: yellow within black edges.
    const QColor inside = is.pixelColor(int(2 * factor), is.height() / 2);
    QVERIFY2(inside.red() > 200 && inside.green() > 160 && inside.blue() < 90, qPrintable(inside.name()));
    if (screen == u"seisekitime1") {
        auto* instructions = top->findChild<QListWidget*>(QStringLiteral("List6"));
        QVERIFY(xdo(moveTo(centreOf(instructions)) + QStringLiteral("click 5")));
        QTRY_VERIFY(instructions->verticalScrollBar()->value() > 0);
    }
}

QTEST_MAIN(TestScaling)
#include "test_scaling.moc"
