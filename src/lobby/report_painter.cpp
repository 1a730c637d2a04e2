#include "lobby/report_painter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

TimeScale timeScale(qint32 longest)
{
    const qint64 t = std::max<qint64>(longest, 1);
    for (qint64 unit = 1;; unit *= 10)
        for (const qint64 m : {1, 2, 5}) {
            const qint64 step = m * unit;
            if (step * 5 >= t) return {qint32((t + step - 1) / step * step), qint32(step)};
        }
}

namespace {

const char16_t* const kRowHeadings[] = {
    u"回数",
    u"タイム  　　 　    本人 / 全体",
    u"　　順位　　　　",
    u"　　最高　　　　",
    u"　　平均　　　　",
    u"ポイント  　　　",
    u"　　獲得ポイント",
    u"(全平均)",
};

// The figures after each row heading.
QString rowFigures(int row, const report::LevelFigures& f)
{
    using report::figure;
    using report::timeFigure;
    switch (row) {
    case 0: return figure(f.runs, 7) + QStringLiteral("回");
    case 2:
        return (f.timeRank > 0 ? figure(f.timeRank, 7) : QStringLiteral("--").rightJustified(7)) +
               QStringLiteral("位 /") + figure(f.pupilsRanked, 6) + QStringLiteral("人");
    case 3:
        return timeFigure(f.ownBest, 7) + QStringLiteral("秒 /") + timeFigure(f.overallBest, 6) + QStringLiteral("秒");
    case 4:
        return timeFigure(f.ownAverage, 7) + QStringLiteral("秒 /") + timeFigure(f.overallAverage, 6) +
               QStringLiteral("秒");
    case 5: return figure(f.pointRank, 7) + QStringLiteral("位");
    case 6: return figure(f.points, 7) + QStringLiteral("点");
    case 7:
        return (f.averagePoints() >= 0 ? figure(f.averagePoints(), 7) : QStringLiteral("--").rightJustified(7)) +
               QStringLiteral("点");
    default: return {};
    }
}

void drawGraph(QPainter& p, const QRectF& area, const std::vector<qint32>& times, const QFontMetricsF& fm,
               double pointWidth)
{
    const double labelWidth = fm.horizontalAdvance(QStringLiteral("00000"));
    // The right margin holds the unit "回" and half of the last run number.
    const QRectF plot(area.left() + labelWidth, area.top() + fm.height() * 1.2,
                      area.width() - labelWidth - fm.height() * 1.4, area.height() - fm.height() * 2.6);
    QPen axis(Qt::black);
    axis.setWidthF(std::max(1.0, pointWidth / 5));
    p.setPen(axis);
    p.drawLine(plot.bottomLeft(), plot.topLeft());
    p.drawLine(plot.bottomLeft(), plot.bottomRight());
    p.drawText(QPointF(plot.left() - labelWidth, plot.top() - fm.height() * 0.6), QStringLiteral("秒"));
    const int n = int(times.size());
    const RunAxis runs = runAxis(plot, n, fm);
    p.drawText(QPointF(runs.unit.left(), runs.unit.top() + fm.ascent()), QStringLiteral("回"));
    if (times.empty()) {
        p.drawText(plot, Qt::AlignCenter, QStringLiteral("記録なし"));
        return;
    }

    // Time axis: ticks and labels at every step.
    const TimeScale scale = timeScale(*std::max_element(times.begin(), times.end()));
    auto yOf = [&](double t) { return plot.bottom() - plot.height() * t / scale.top; };
    const double tick = fm.height() * 0.3;
    for (qint32 t = 0; t <= scale.top; t += scale.step) {
        const double y = yOf(t);
        p.drawLine(QPointF(plot.left() - tick, y), QPointF(plot.left(), y));
        const QString label = QString::number(t);
        p.drawText(
            QPointF(plot.left() - tick * 1.5 - fm.horizontalAdvance(label), y + fm.ascent() / 2 - fm.descent() / 2),
            label);
    }
    for (const RunAxis::Label& label : runs.labels) {
        p.drawLine(QPointF(label.tickX, plot.bottom()), QPointF(label.tickX, plot.bottom() + tick));
        p.drawText(QPointF(label.box.left(), label.box.top() + fm.ascent()), label.text);
    }
    auto xOf = [&](int i) { return plot.left() + plot.width() * (i - 0.5) / n; };
    QPen dot(QColor(0, 60, 160));
    dot.setWidthF(pointWidth);
    dot.setCapStyle(Qt::SquareCap);
    p.setPen(dot);
    QPolygonF points(n);
    for (int i = 1; i <= n; ++i) points[i - 1] = QPointF(xOf(i), yOf(times[std::size_t(i - 1)]));
    p.drawPoints(points);
    p.setPen(axis);
}

void drawBlock(QPainter& p, const QRectF& block, const QString& title, const QString& pupil, const ReportBlock& b,
               const QFontMetricsF& fm, double pointWidth)
{
    const double line = fm.height();
    p.setPen(Qt::black);
    p.drawText(QPointF(block.left(), block.top() + fm.ascent()),
               QStringLiteral("%1　レベル%2　%3　　%4").arg(title).arg(b.level).arg(b.levelName, pupil));
    const QRectF body(block.left(), block.top() + line * 1.5, block.width(), block.height() - line * 2);
    drawGraph(p, QRectF(body.left(), body.top(), body.width() * 0.55, body.height()), b.times, fm, pointWidth);

    const double x = body.left() + body.width() * 0.6;
    const double rowHeight = std::min(line * 1.3, body.height() / 8);
    const double figuresX = x + fm.horizontalAdvance(QString::fromUtf16(kRowHeadings[4])) + line * 0.5;
    for (int row = 0; row < 8; ++row) {
        const double y = body.top() + row * rowHeight + fm.ascent();
        p.drawText(QPointF(x, y), QString::fromUtf16(kRowHeadings[row]));
        if (row != 1) p.drawText(QPointF(figuresX, y), rowFigures(row, b.figures));
    }
}

} // namespace

QString reportHeading(const ReportContent& content)
{
    if (!content.made.isValid()) return {};
    auto day = [](QDate d) { return QStringLiteral("%1年%2月%3日").arg(d.year()).arg(d.month()).arg(d.day()); };
    // The graphs take the runs after the day `graphDays` before today.
    return QStringLiteral("作成日：%1　　グラフの期間：%2～%3")
        .arg(day(content.made), day(content.made.addDays(1 - content.graphDays)), day(content.made));
}

std::vector<std::vector<int>> reportPages(const ReportContent& content)
{
    std::vector<std::vector<int>> pages;
    double top = 0.05;
    for (const ReportBlock& b : content.blocks) {
        if (pages.empty() || top > 0.9) {
            pages.emplace_back();
            top = 0.05;
        }
        pages.back().push_back(b.level);
        top += 0.3;
    }
    return pages;
}

std::vector<std::vector<int>> drawReport(QPainter& p, const ReportContent& content, const ReportOutput& out)
{
    const std::vector<std::vector<int>> pages = reportPages(content);
    p.setFont(out.font);
    const QFontMetricsF fm(out.font, p.device());
    const double h = out.page.height(), w = out.page.width();
    const QString heading = reportHeading(content);
    std::size_t next = 0;
    for (std::size_t page = 0; page < pages.size(); ++page) {
        if (page > 0 && out.newPage) out.newPage();
        p.setPen(Qt::black);
        p.drawText(QPointF(0.05 * w, 0.035 * h), heading);
        double top = 0.05 * h;
        for (std::size_t k = 0; k < pages[page].size(); ++k, ++next) {
            drawBlock(p, QRectF(0.05 * w, top, 0.9 * w, 0.3 * h), content.title, content.pupil, content.blocks[next],
                      fm, out.pointWidth);
            top += 0.3 * h;
        }
    }
    return pages;
}

RunAxis runAxis(const QRectF& plot, int runs, const QFontMetricsF& fm)
{
    RunAxis axis;
    const double tick = fm.height() * 0.3;
    const double unitBaseline = plot.bottom() - tick - fm.descent();
    axis.unit = QRectF(plot.right() + fm.height() * 0.2, unitBaseline - fm.ascent(),
                       fm.horizontalAdvance(QStringLiteral("回")), fm.height());
    if (runs <= 0 || plot.width() <= 0) return axis;
    // About ten numbers, fewer when the widest would not fit between them.
    const double gap = fm.horizontalAdvance(QStringLiteral("0"));
    const double widest = fm.horizontalAdvance(QString::number(runs));
    const int every = std::max({1, (runs + 9) / 10, int(std::ceil(runs * (widest + gap) / plot.width()))});
    for (int i = 1; i <= runs; ++i) {
        if (i != 1 && i != runs && i % every != 0) continue;
        RunAxis::Label label;
        label.tickX = plot.left() + plot.width() * (i - 0.5) / runs;
        label.text = QString::number(i);
        const double width = fm.horizontalAdvance(label.text);
        label.box = QRectF(label.tickX - width / 2, plot.bottom() + tick, width, fm.height());
        auto crowds = [&] { return !axis.labels.empty() && axis.labels.back().box.right() + gap > label.box.left(); };
        // The last run always has its number; a neighbour too close gives way.
        if (i == runs)
            while (crowds()) axis.labels.pop_back();
        else if (crowds()) continue;
        axis.labels.push_back(label);
    }
    return axis;
}
