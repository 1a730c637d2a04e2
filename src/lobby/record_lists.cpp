#include "lobby/record_lists.h"

#include "base/text_util.h"
#include "records/grades.h"
#include "records/points.h"
#include "records/ranking_sort.h"
#include "records/record_format.h"
#include "records/record_loading.h"
#include "records/record_passes.h"
#include "roster/roster_record.h"
#include "state/shared_state.h"

#include <QHash>
#include <algorithm>
#include <cmath>

namespace lists {

namespace {
const QString kFullSpace = QStringLiteral("　");
const QString kCurrentMark = QStringLiteral("●");

} // namespace

QString R2(qint64 rank)
{
    QString out;
    appendRn(out, rank, 2, 1);
    return out;
}

QString Rn(qint64 value, int n)
{
    QString out;
    appendRn(out, value, n);
    return out;
}

QString R5Seconds(qint64 seconds)
{
    QString out;
    appendR5Seconds(out, seconds);
    return out;
}

namespace {
// The decimal digits of v (with its sign) at the end of buf; returns where
// they start. The all-runs list writes 20 000 numbers: no formatting calls.
char16_t* decimal(qint64 v, char16_t* end)
{
    quint64 u = v < 0 ? 0 - quint64(v) : quint64(v);
    char16_t* p = end;
    do {
        *--p = char16_t(u'0' + u % 10);
        u /= 10;
    } while (u);
    if (v < 0) *--p = u'-';
    return p;
}
} // namespace

namespace {
// The last n characters of `blanks` blanks, the number and `unit`, but never
// fewer than all the digits: a figure wider than its column makes the line
// longer instead of losing its leading digits.
void appendRight(QString& out, qint64 value, int n, int blanks, char16_t unit = 0)
{
    char16_t buf[40];
    char16_t* const end = buf + 40;
    char16_t* p = end;
    if (unit) *--p = unit;
    p = decimal(value, p);
    char16_t* const digits = p;
    for (int i = 0; i < blanks; ++i) *--p = u' ';
    p = std::min(digits, std::max(p, end - n));
    out.append(reinterpret_cast<const QChar*>(p), end - p);
}
} // namespace

void appendRn(QString& out, qint64 value, int n, int blanks) { appendRight(out, value, n, blanks); }

void appendR5Seconds(QString& out, qint64 seconds) { appendRight(out, seconds, 5, 6, u'秒'); }

void appendNumber(QString& out, qint64 value)
{
    char16_t buf[24];
    char16_t* const end = buf + 24;
    char16_t* p = decimal(value, end);
    out.append(reinterpret_cast<const QChar*>(p), end - p);
}

QString listName(const QString& rosterName) { return fitToWidth(trimRightBlanks(rosterName), kListNameWidth); }

QString listDate(double serial)
{
    // Dates of 9999/12/31 and beyond, or not numbers at all, have no calendar day.
    if (!(serial >= 0 && serial < 2958466)) return QStringLiteral("----/--/--");
    int y = 0, m = 0, d = 0;
    dateFromSerial(qint64(std::floor(serial))).getDate(&y, &m, &d);
    QString out = QString::number(y).rightJustified(4, u'0');
    out += u'/';
    out += QChar(u'0' + m / 10);
    out += QChar(u'0' + m % 10);
    out += u'/';
    out += QChar(u'0' + d / 10);
    out += QChar(u'0' + d % 10);
    return out;
}

QString listClock(double dayFraction) { return timeOfDayText(dayFraction); }

int Viewer::gradeNumber(int pupil) const
{
    if (!roster || pupil < 0 || std::size_t(pupil) >= roster->birthYears.size()) return 0;
    return gradeOffset(roster->schoolYear, roster->birthYears[std::size_t(pupil)]);
}

bool Viewer::passes(int pupil) const { return gradeMatches(gradeNumber(pupil), filter); }

QString Viewer::mark(int pupil) const { return pupil == currentPupil ? kCurrentMark : gradeMark(gradeNumber(pupil)); }

QString Viewer::tail(int pupil) const { return pupil == currentPupil ? kCurrentMark : kFullSpace; }

QString Viewer::name(int pupil) const
{
    if (!roster || pupil < 0 || std::size_t(pupil) >= roster->names.size()) return listName({});
    return listName(roster->names[std::size_t(pupil)]);
}

std::vector<int> rosterList(const RosterTables& roster)
{
    if (!roster.listed.empty()) return roster.listed;
    std::vector<int> out;
    for (int p = 1; p <= roster.count && std::size_t(p) < roster.order.size(); ++p)
        out.push_back(roster.order[std::size_t(p)]);
    return out;
}

qint32 bestTimeKey(qint32 personalBest, bool hasRuns)
{
    // A best still at kNoBest with runs at the level means they all ran out of time.
    if (personalBest >= score::kNoBest) return hasRuns ? score::kAllFailedBest : score::kNoBest;
    return personalBest;
}

namespace {

// The merge sort of the record store, fed the pupils from the end of the
// roster list: it keeps equal keys in the order it is given, so pupils with
// equal keys end in the reverse of their roster-list order.
std::vector<std::size_t> sortedPositions(const std::vector<qint32>& keys)
{
    const int n = int(keys.size());
    std::vector<qint32> k(std::size_t(n) + 1), idx(std::size_t(n) + 1);
    for (int j = 1; j <= n; ++j) {
        const std::size_t from = std::size_t(n - j);
        k[std::size_t(j)] = keys[from];
        idx[std::size_t(j)] = qint32(from);
    }
    rankingSort(k, idx, n);
    std::vector<std::size_t> out;
    out.reserve(std::size_t(n));
    for (int j = 1; j <= n; ++j) out.push_back(std::size_t(idx[std::size_t(j)]));
    return out;
}

} // namespace

std::vector<Ranked> rankByTime(const std::vector<int>& pupils, const std::vector<qint32>& keys, bool namedLevel)
{
    std::vector<qint32> sortKeys(keys);
    if (!namedLevel)
        for (qint32& key : sortKeys)
            if (key < score::kAllFailedBest) key = -key; // higher values first; failed and none stay last
    std::vector<Ranked> out;
    for (const std::size_t i : sortedPositions(sortKeys)) {
        Ranked r;
        r.pupil = pupils[i];
        r.key = keys[i];
        const int position = int(out.size()) + 1;
        r.rank = (!out.empty() && out.back().key == r.key) ? out.back().rank : position;
        out.push_back(r);
    }
    return out;
}

std::vector<Ranked> rankByPoints(const std::vector<int>& pupils, const std::vector<qint64>& primary,
                                 const std::vector<qint64>& secondary)
{
    // The pair (primary, secondary), best first, as a small whole number: the
    // sort compares pairs without folding them into one sum that lets a large
    // secondary outweigh the primary.
    std::vector<std::pair<qint64, qint64>> pairs;
    for (std::size_t i = 0; i < pupils.size(); ++i) pairs.emplace_back(primary[i], secondary[i]);
    std::vector<std::pair<qint64, qint64>> distinct(pairs);
    std::sort(distinct.begin(), distinct.end(), std::greater<>());
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
    std::vector<qint32> keys;
    for (const auto& p : pairs)
        keys.push_back(
            qint32(std::lower_bound(distinct.begin(), distinct.end(), p, std::greater<>()) - distinct.begin()));

    std::vector<Ranked> out;
    for (const std::size_t i : sortedPositions(keys)) {
        Ranked r;
        r.pupil = pupils[i];
        r.primary = primary[i];
        r.secondary = secondary[i];
        const int position = int(out.size()) + 1;
        r.rank = (!out.empty() && out.back().primary == r.primary) ? out.back().rank : position;
        out.push_back(r);
    }
    return out;
}

LevelRanking rankLevel(const SharedState& s, int level, Order order, PointRanking ranking, const Viewer& v)
{
    LevelRanking out;
    const std::vector<int> pupils = rosterList(s.roster);
    const RecordTables& records = s.records;
    auto statsOf = [&](int pupil) -> const PupilLevelStats& { return records.stats(level, pupil); };
    auto usable = [](int pupil) { return pupil >= 0 && pupil < kPupilCount; };

    if (order == Order::Times) {
        std::vector<qint32> keys;
        for (const int p : pupils)
            keys.push_back(usable(p) ? bestTimeKey(statsOf(p).personalBest, statsOf(p).recordCount > 0)
                                     : score::kNoBest);
        const bool named = !s.levelNames[std::size_t(level)].isEmpty();
        out.ranked = rankByTime(pupils, keys, named);
        for (const Ranked& r : out.ranked) {
            if (!v.passes(r.pupil)) continue;
            ListLine line;
            line.current = r.pupil == v.currentPupil;
            const QString who = v.mark(r.pupil) + v.name(r.pupil);
            const QString end = u' ' + v.tail(r.pupil);
            if (r.key == score::kAllFailedBest) {
                line.text = R2(r.rank) + who + QStringLiteral("*失敗*") + end;
            } else if (r.key == score::kNoBest) {
                line.text = QStringLiteral("--") + who + QStringLiteral("------") + end;
            } else {
                line.text = R2(r.rank) + who + Rn(r.key, 6) + end;
                line.seconds = r.key;
            }
            out.lines.push_back(line);
        }
        return out;
    }

    std::vector<qint64> today, all;
    for (const int p : pupils) {
        today.push_back(usable(p) ? statsOf(p).todayPoints : 0);
        all.push_back(usable(p) ? statsOf(p).totalPoints : 0);
    }
    const bool byToday = ranking == PointRanking::Today;
    out.ranked = byToday ? rankByPoints(pupils, today, all) : rankByPoints(pupils, all, today);
    for (const Ranked& r : out.ranked) {
        const qint64 t = byToday ? r.primary : r.secondary;
        const qint64 a = byToday ? r.secondary : r.primary;
        if (!v.passes(r.pupil) || (byToday && t == 0)) continue;
        ListLine line;
        line.current = r.pupil == v.currentPupil;
        line.text = R2(r.rank) + v.mark(r.pupil) + v.name(r.pupil) + Rn(t, 3) + u'/' + Rn(a, 5);
        out.lines.push_back(line);
    }
    return out;
}

qint64 runListWindow(RunList kind) { return kind == RunList::Today ? 1000 : kLoadWindow; }

qint64 listPoints(qint32 score, qint32 targetTime, qint32 storedPoints, int pointSource)
{
    if (pointSource != 0) return storedPoints;
    return runPointsFactor(score, targetTime);
}

namespace {
// Whether a pupil's runs are listed: the grade filter, asked once a pupil.
class PupilFilter {
public:
    explicit PupilFilter(const Viewer& v) : v_(v) {}
    bool passes(int pupil)
    {
        auto it = passes_.find(pupil);
        if (it == passes_.end()) it = passes_.insert(pupil, v_.passes(pupil));
        return *it;
    }

private:
    const Viewer& v_;
    QHash<int, bool> passes_;
};

} // namespace

QString RunLineText::text(const RunLine& line) const
{
    QString t;
    t.reserve(32);
    const QString who = who_.value(line.pupil);
    const bool failed = line.seconds() < 0;
    switch (kind_) {
    case RunList::Today:
    case RunList::AllRuns: {
        // Today's runs show the time of day, all runs the month and day.
        const QString when = kind_ == RunList::Today ? timeOfDayText(line.time, false) : listDate(line.date).right(5);
        if (failed) {
            t += QStringLiteral("　　× ");
            t += when;
            t += who;
        } else if (kind_ == RunList::AllRuns && order_ == Order::Points) {
            appendRn(t, line.points, 5);
            t += u' ';
            t += when;
            t += who;
            appendNumber(t, line.score);
            t += u'秒';
        } else {
            appendR5Seconds(t, line.score);
            t += u' ';
            t += when;
            t += who;
            appendNumber(t, line.points);
        }
        break;
    }
    case RunList::OnePupil:
        t += listDate(line.date);
        t += u' ';
        t += timeOfDayText(line.time);
        if (!failed) appendR5Seconds(t, line.score);
        break;
    }
    return t;
}

RunLists runLists(const char* bytes, qint64 count, const RunListRequest& request, const Viewer& v,
                  const std::function<void(qint64)>& progress)
{
    const int n = std::clamp(request.levelCount, 0, kLevelCount - 1);
    RunLists out;
    out.levels.resize(std::size_t(n) + 1);
    auto text = std::make_shared<RunLineText>(request.kind, request.order);
    const double today = double(daySerial(request.today));
    const double windowFrom = today - request.windowDays;
    PupilFilter filter(v);

    for (qint64 k = 0; k < count; ++k) {
        if (progress && k % 5000 == 0) progress(k);
        const ResultRecordView r(bytes + k * kResultRecordSize);
        const double date = r.date();
        const qint16 pupil = r.pupilNumber();
        const qint16 level = r.level();
        const qint32 score = r.score();
        // Only what the record store itself would use, and only the levels shown.
        if (recordSkipReason(date, pupil, level, score) != SkipReason::None || level > n) continue;
        switch (request.kind) {
        case RunList::Today:
            if (!(date >= today && date < today + 1)) continue;
            break;
        case RunList::AllRuns:
            if (!(date > windowFrom)) continue;
            break;
        case RunList::OnePupil:
            if (pupil != v.currentPupil || !(date > windowFrom)) continue;
            break;
        }
        if (!filter.passes(pupil)) continue;

        RunLine line;
        line.date = date;
        line.time = r.time();
        line.score = score;
        line.pupil = pupil;
        line.current = pupil == v.currentPupil;
        const qint32 target = request.levels ? (*request.levels)[std::size_t(level)].targetTime : 0;
        line.points = listPoints(score, target, r.pointsValue());
        if (!text->knows(pupil)) {
            const QString mark = v.mark(pupil);
            text->setWho(pupil, mark + v.name(pupil) + mark);
        }
        out.levels[std::size_t(level)].push_back(line);
    }
    out.text = std::move(text);
    if (progress) progress(count);
    return out;
}

} // namespace lists
