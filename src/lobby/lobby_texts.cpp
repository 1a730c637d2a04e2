#include "lobby/lobby_texts.h"

#include "base/text_util.h"
#include "drill/run_rules.h"

namespace lobby {

QStringList instructionLines()
{
    return {
        QStringLiteral("①の指示で計算します"),
        QStringLiteral("②計算の答えを入力します"),
        QStringLiteral("　スペースキーで次のますへ移動できます"),
        QStringLiteral("　（矢印キーでも他のますへ移動できます）"),
        QStringLiteral("　間違いは"),
        QStringLiteral("　　DELETEキー"),
        QStringLiteral("　または"),
        QStringLiteral("　　シフトを押しながら方向キー"),
        QStringLiteral("　で消せます"),
        QStringLiteral("③すべて入力したら"),
        QStringLiteral("　判定ボタンをクリックするか"),
        QStringLiteral("　エンターキーを押します"),
        QStringLiteral("判定後"),
        QStringLiteral("　間違っていたら"),
        QStringLiteral("　　続きボタン"),
        QStringLiteral("　または"),
        QStringLiteral("　　スペースキー"),
        QStringLiteral("　を押して"),
        QStringLiteral("　修正します"),
        QStringLiteral("　すべて修正したら"),
        QStringLiteral("　また判定ボタンをします"),
        QString(),
        QStringLiteral("では、スタートボタンを押してはじめよう"),
    };
}

QString minutesLine(qint32 minutes) { return QStringLiteral("起動後%1分").arg(minutes); }

qint32 signInMinutes(double nowDaySeconds, qint32 nameConfirmedSeconds)
{
    const double elapsed = nowDaySeconds - nameConfirmedSeconds;
    if (elapsed < 0 && elapsed > -1) return 0;
    return minutesSinceSignIn(nowDaySeconds, nameConfirmedSeconds);
}

QString todayTotalLine(qint64 runs) { return QStringLiteral("本日総回数＝%1回").arg(runs); }

QString todayCountsLine(qint64 runs, qint64 points)
{
    return runs != 0 ? QStringLiteral("%1回/%2点").arg(runs).arg(points) : QStringLiteral("-----");
}

QString allCountsLine(qint64 runs, qint64 points)
{
    return runs != 0 ? QStringLiteral("%1回/%2点").arg(runs).arg(points) : QStringLiteral("------");
}

QString recentLine(double dayWindow, qint64 runs, qint64 points)
{
    return QStringLiteral("最近%1日=%2回 / %3点").arg(plainDecimal(dayWindow)).arg(runs).arg(points);
}

QString targetLine(const LevelRow& row, bool namedLevel)
{
    if (!namedLevel) return QStringLiteral("◎=%1点以上").arg(row.targetTime);
    if (row.requiredPoints == 9999) return QStringLiteral("目標=%1秒 --------").arg(row.targetTime);
    return QStringLiteral("目標=%1秒 %2回/%3点(×%4)")
        .arg(row.targetTime)
        .arg(row.requiredRuns)
        .arg(row.requiredPoints)
        .arg(row.pointFactor.text());
}

QString pupilLine(const QString& pupilName, const QString& gradeLabel)
{
    return trimBlanks(pupilName) + u' ' + gradeLabel;
}

QString schoolLine(int pupilNumber, const QString& organisationName)
{
    return QString::number(pupilNumber) + u':' + organisationName;
}

double titlePoints(const QString& title) { return title.size() > 9 ? 20 : 24; }

namespace {
QString rosterName(const std::vector<QString>& names, double number)
{
    if (number < 0 || number >= double(names.size())) return {};
    return trimBlanks(names[std::size_t(number)]);
}
} // namespace

LevelTitle levelTitle(const QString& levelName, int level, const std::vector<QString>& rosterNames)
{
    const double maker = leadingNumber(levelName.left(4));
    if (maker == 0) return {levelName, levelName, false};
    LevelTitle t;
    t.caption = levelName.mid(4, qMax<qsizetype>(0, levelName.size() - 8)) + u'_' +
                QString::number(level % 2 == 1 ? 1 : 2);
    t.toolTip = rosterName(rosterNames, maker) + levelName.mid(4);
    t.small = true;
    return t;
}

QString startCaption(int level, const QString& descriptor, const QString& siteCode,
                     const std::vector<QString>& rosterNames)
{
    const double maker = leadingNumber(descriptor.mid(6, 4));
    if (maker == 0) return QStringLiteral("ｽﾀｰﾄ(&%1)").arg(level);
    if (descriptor.left(5) == siteCode) return QStringLiteral("(&%1)by").arg(level) + rosterName(rosterNames, maker);
    return QStringLiteral("(&%1)by他塾生").arg(level);
}

bool seesPrintButton(const QString& pupilName) { return pupilName.contains(QStringLiteral("先生")); }

bool isTeacher(const QString& pupilName) { return trimBlanks(pupilName) == QStringLiteral("先生"); }

LevelSequence levelSequence(const std::vector<LevelGate>& gates, bool teacher, bool planFinished,
                            bool designatedCleared)
{
    const int n = int(gates.size()) - 1;
    LevelSequence out{std::vector<bool>(gates.size(), false), std::vector<bool>(gates.size(), false)};
    if (n < 1) return out;
    out.enable[1] = true;
    bool failedBefore = false;
    for (int i = 1; i <= n; ++i) {
        const LevelGate& g = gates[std::size_t(i)];
        if (g.practice) out.enable[std::size_t(i)] = true;
        const bool passes = g.nextWithoutPointTarget || planFinished || teacher || g.cleared ||
                            (!failedBefore && g.practice);
        if (!passes) {
            failedBefore = true;
            continue;
        }
        if (i < n) {
            out.enable[std::size_t(i + 1)] = true;
            out.hideBlankBox[std::size_t(i + 1)] = true;
        }
        const bool keepBlankBox = !designatedCleared && !planFinished && !g.practice && g.doneEnough;
        if (!keepBlankBox) out.hideBlankBox[std::size_t(i)] = true;
    }
    return out;
}

} // namespace lobby
