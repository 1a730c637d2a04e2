#include "roster/name_list.h"

#include "base/text_util.h"
#include "records/grades.h"
#include "records/record_tables.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>

namespace {
const QChar kWideBlank(0x3000); // "　"

// The last `width` characters of `blanks` followed by the number, but never
// fewer than its digits: a wider figure is shown whole.
QString lastOf(const QString& blanks, qint64 v, int width)
{
    const QString digits = QString::number(v);
    return (blanks + digits).right(qMax<qsizetype>(width, digits.size()));
}
} // namespace

PupilFigures pupilFigures(const RecordTables& t, int pupil)
{
    PupilFigures f;
    for (int level = 1; level < kLevelCount; ++level) {
        const PupilLevelStats& st = t.stats(level, pupil);
        f.runsToday += st.todayRunCount;
        f.runsAll += st.runCount;
        f.pointsToday += st.todayPoints;
        f.pointsAll += st.totalPoints;
    }
    return f;
}

QString runsTodayText(qint64 runs)
{
    return runs != 0 ? lastOf(QStringLiteral("  "), runs, 3) + u'回' : QString(5, u' ');
}

QString pointsTodayText(qint64 points)
{
    return points != 0 ? lastOf(QStringLiteral("   "), points, 4) : QStringLiteral("  ") + kWideBlank;
}

QString runsAllText(qint64 runs)
{
    return runs != 0 ? lastOf(QString(6, u' '), runs, 5) + u'回' : QString(5, u' ') + kWideBlank;
}

QString pointsAllText(qint64 points) { return points != 0 ? lastOf(QString(6, u' '), points, 7) : QString(7, u' '); }

QString figurePair(int mode, const PupilFigures& f)
{
    switch (mode) {
    case 0: return runsTodayText(f.runsToday) + u'/' + runsAllText(f.runsAll);
    case 1: return pointsTodayText(f.pointsToday) + u'/' + pointsAllText(f.pointsAll);
    case 2: return pointsTodayText(f.pointsToday) + u'/' + runsTodayText(f.runsToday);
    case 3: return pointsAllText(f.pointsAll) + u'/' + runsAllText(f.runsAll);
    default: return {};
    }
}

int nameColumnWidth(const QString& gradeCode, int mode)
{
    return gradeCode.startsWith(u'幼') && mode != 1 ? 11 : 9;
}

int nameColumnHalves(const QString& gradeCode, int mode)
{
    return 2 * qMax(0, nameColumnWidth(gradeCode, mode) - int(gradeCode.size()) - 1);
}

PupilEntry pupilEntry(int number, int birthYear, const QString& gradeCode, const QString& name, int mode,
                      const PupilFigures& figures)
{
    const QString trimmed = trimBlanks(name);
    const int column = nameColumnHalves(gradeCode, mode);
    const QString figs = figurePair(mode, figures);
    const QString star = u'*' + QString::number(number);

    PupilEntry e;
    e.number = number;
    e.birthYear = birthYear;
    e.tail = gradeCode + u' ' + trimmed + blanksOfWidth(column - displayWidth(trimmed)) + figs + star;
    e.line = QString::number(birthYear) + e.tail;
    // A name wider than its column is cut to it, so that the figures of
    // every line stay in one column.
    e.shown = gradeCode + u' ' + fitToWidth(trimmed, column) + figs;
    return e;
}

void sortPupilEntries(std::vector<PupilEntry>& entries)
{
    QCollator collator{QLocale(QLocale::Japanese, QLocale::Japan)};
    std::stable_sort(entries.begin(), entries.end(), [&collator](const PupilEntry& a, const PupilEntry& b) {
        const int c = collator.compare(a.line, b.line);
        return c != 0 ? c < 0 : a.line < b.line;
    });
}

bool gradeFilterKeeps(const QString& filter, int offset, bool previousKept)
{
    return gradeFilterPasses(offset, filter).value_or(previousKept);
}

QString clickedNameLabel(const QString& entry, int mode)
{
    const QString code = entry.section(u' ', 0, 0);
    return trimBlanks(cutToWidth(entry, displayWidth(code) + 1 + nameColumnHalves(code, mode)));
}

QString doubleClickedNameLabel(const QString& entry)
{
    const qsizetype slash = entry.indexOf(u'/');
    return trimBlanks(slash < 0 ? entry : entry.left(slash));
}

QString programMenuPath(const QString& programFolder)
{
    return programFolder + QStringLiteral("\\..\\起動\\プログラムメニュー.exe");
}
