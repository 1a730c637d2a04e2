#pragma once
// A drill screen on a real stage, on a temporary installation, driven by a
// test clock. Widgets are found by their object names.
#include "drill/drill_screen.h"
#include "drill/equation.h"
#include "program/navigation.h"
#include "program/startup.h"
#include "records/record_file.h"
#include "records/record_format.h"
#include "support/answers.h"
#include "support/screen_fixture.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <utility>
#include <vector>

struct StoredRecord {
    qint16 pupil = 0;
    qint16 level = 0;
    qint32 score = 0;
};

struct DrillFixture : ScreenFixture {
    DrillScreen* drill = nullptr;

    // Starts the program on the installation (optionally with its own level
    // table), signs pupil 1 in and opens the drill for `level`.
    explicit DrillFixture(int level = 1, const QString& levelTable = {},
                          const QDateTime& start = QDateTime(QDate(2026, 12, 8), QTime(10, 0)))
        : ScreenFixture(levelTable)
    {
        t.clock.set(start);
        if (!startUp(stage.app(), inst.programFolder())) return;
        setLobbyLevels(s); // as opening the lobby does
        s.pupilNumber = 1;
        s.pupilName = QStringLiteral("  やまだ　はなこ ");
        s.nameConfirmedSeconds = qint32(t.clock.secondsSinceMidnight()) - 300;
        s.currentLevel = qint16(level);
    }

    // Opens the drill and runs its activation, as the lobby's start button does.
    DrillScreen* open()
    {
        stage.app().navigator.startRun();
        stage.activatePending();
        drill = qobject_cast<DrillScreen*>(stage.current());
        return drill;
    }

    // The drill's own controls, even once another screen is in view.
    template <typename T = QWidget> T* w(const QString& name) const
    {
        return drill ? drill->findChild<T*>(name) : nullptr;
    }
    QLabel* label(const QString& name) const { return w<QLabel>(name); }
    QString text(const QString& name) const
    {
        QLabel* l = label(name);
        return l ? l->text() : QStringLiteral("<missing %1>").arg(name);
    }
    QLabel* op(int i) const { return label(QStringLiteral("LblDD1(%1)").arg(i)); }
    QLabel* blank(int i) const { return label(QStringLiteral("LblDD2(%1)").arg(i)); }
    QPushButton* answerButton() const { return w<QPushButton>(QStringLiteral("Command5")); }
    QPushButton* continueButton() const { return w<QPushButton>(QStringLiteral("Command1")); }
    bool lampLit(int n) const { return w(QStringLiteral("sPicture3(%1)").arg(n))->isVisibleTo(drill); }

    static int opIndex(Op op) { return int(op); } // ＋ 1, － 2, × 3, ÷ 4: the labels' order

    // Presses two operator labels with the mouse.
    void place(Op a, Op b) const
    {
        if (a != Op::None) QTest::mouseClick(op(opIndex(a)), Qt::LeftButton);
        if (b != Op::None) QTest::mouseClick(op(opIndex(b)), Qt::LeftButton);
    }

    // Places a right (or wrong) pair for the problem on screen and presses O.K.
    void answer(bool right) const
    {
        const auto [a, b] = operatorsFor(drill->problem(), right);
        place(a, b);
        QTest::mouseClick(answerButton(), Qt::LeftButton);
    }

    // Moves the test clock on to `seconds` after the run started and ticks.
    void tickAt(double seconds)
    {
        const QDateTime target = runStart.addMSecs(qint64(seconds * 1000));
        t.clock.advanceMs(t.clock.now().msecsTo(target));
        drill->runTimerTick();
    }
    QDateTime runStart;
    DrillScreen* openAndMark()
    {
        runStart = t.clock.now();
        return open();
    }

    std::vector<StoredRecord> records() const
    {
        std::vector<StoredRecord> out;
        QFile f(resultFilePath(s));
        if (!f.open(QIODevice::ReadOnly)) return out;
        const QByteArray all = f.readAll();
        for (qsizetype at = 0; at + 44 <= all.size(); at += 44) {
            const ResultRecord r = decodeResultRecord(all.constData() + at);
            out.push_back({r.pupilNumber, r.level, r.score});
        }
        return out;
    }
    QString currentScreen() const { return screen(); }
};

// Level 1 with target 50 s and second time 60 s (time limit 300 s).
inline QString levelTable50()
{
    return QStringLiteral("0,0,0,0,1,0,0,7,30,0,0,0\n50,60,100,5,1,0,0,7,30,0,0,0\n"
                          "45,70,100,5,1,0,0,7,30,0,0,0\n60,90,120,5,1,0,0,7,30,0,0,0\n60,90,150,5,1,0,0,7,30,0,0,0\n");
}
