#include "about/about_box.h"
#include "about/help_viewer.h"
#include "name_selection_fixture.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace roster_test;

// The "ヘルプ" menu of the selection screen: the version box, help and the
// maker's page.
class TestAbout : public QObject {
    Q_OBJECT
private slots:
    void versionBoxTwice();
    void help_data();
    void help();
    void makersPage();
};

// Sees the address handed to the desktop.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};

void TestAbout::versionBoxTwice()
{
    Fixture f;
    QVERIFY(f.start());
    QStringList seen;
    for (int round = 0; round < 2; ++round) {
        f.list()->setCurrentRow(1);
        QVERIFY(f.label(QStringLiteral("Label1")) != QStringLiteral("名前を選びなさい"));
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<AboutBox*>(QApplication::activeModalWidget());
            if (!box) return;
            QStringList texts{box->windowTitle()};
            for (const char* l : {"Label1", "Label2", "Label4", "Label5", "Label6", "Label7", "Label3"})
                texts << box->findChild<QLabel*>(l)->text();
            // The page labels only name the places.
            QTest::mouseClick(box->findChild<QLabel*>("Label7"), Qt::LeftButton);
            QTest::mouseClick(box->findChild<QLabel*>("Label3"), Qt::LeftButton);
            texts << QString::number(box->isVisible());
            const QPoint centre = f.stage.mapToGlobal(f.stage.rect().center());
            texts << QString::number((box->geometry().center() - centre).manhattanLength() <= 2);
            seen << texts.join(u'|');
            QTest::mouseClick(box->findChild<QPushButton*>("Command1"), Qt::LeftButton);
        });
        f.menu(QStringLiteral("mnuVersion"));
        QVERIFY(!QApplication::activeModalWidget());
        // Closing the box makes the screen active again: the selection is
        // cleared and the prompt is back.
        QCOMPARE(f.label(QStringLiteral("Label1")), QStringLiteral("名前を選びなさい"));
        QCOMPARE(f.list()->currentRow(), -1);
    }
    QCOMPARE(seen.size(), 2);
    QCOMPARE(seen[0],
             QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報|ソルメア|Version2.1.13|Quorvane|式に＋－×÷を入れて完成させる計算ドリル|"
                            "最新情報は下記まで|Quorvaneホームページ|ベクターホームページ|1|1"));
    QCOMPARE(seen[1], seen[0]);
}

void TestAbout::help_data()
{
    QTest::addColumn<bool>("document");
    QTest::newRow("the demo's document is shown") << true;
    QTest::newRow("a missing document is ignored") << false;
}

void TestAbout::help()
{
    QFETCH(bool, document);
    Fixture f;
    if (document) {
        // Written as the demo installation is: code page 932.
        QFile source(QStringLiteral(SOLMEA_DEMO_SOURCE "/ソルメア/ソルメアヘルプ.txt"));
        QVERIFY(source.open(QIODevice::ReadOnly));
        f.inst.write(QStringLiteral("ソルメア/ソルメアヘルプ.txt"), QString::fromUtf8(source.readAll()));
    }
    QVERIFY(f.start());
    f.menu(QStringLiteral("mnuContents"));
    auto* viewer = f.stage.findChild<HelpViewer*>();
    QCOMPARE(viewer != nullptr, document);
    QVERIFY(f.t.dialogs.texts.isEmpty());
    QCOMPARE(f.screen(), QStringLiteral("namesel"));
    if (!document) return;
    QVERIFY(viewer->isVisible());
    const QString text = viewer->findChild<QPlainTextEdit*>()->toPlainText();
    for (const char* topic : {"名前を選ぶ", "ドリルをする", "レベルを選ぶ画面", "名前を変える", "成績累積データ.dat"})
        QVERIFY2(text.contains(QString::fromUtf8(topic)), topic);
    QVERIFY(!text.contains(QChar(0xFFFD)));
    // A second 目次 brings the open window forward instead of another.
    f.menu(QStringLiteral("mnuContents"));
    QCOMPARE(f.stage.findChildren<HelpViewer*>().size(), 1);
}

void TestAbout::makersPage()
{
    Fixture f;
    QVERIFY(f.start());
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
    f.menu(QStringLiteral("menuTQ58"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QCOMPARE(catcher.urls.size(), 1);
    QVERIFY(catcher.urls[0].host().endsWith(QStringLiteral(".example")));
    QCOMPARE(f.screen(), QStringLiteral("namesel"));
}

QTEST_MAIN(TestAbout)
#include "test_about.moc"
