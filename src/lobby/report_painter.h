#pragma once
#include "lobby/report_figures.h"

#include <QDate>
#include <QFont>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <functional>
#include <vector>

class QFontMetricsF;
class QPainter;

// One level of the progress report: the pupil's times for the graph and the
// figures of the table.
struct ReportBlock {
    int level = 0;
    QString levelName;
    std::vector<qint32> times; // finished runs, in the order of the record file
    report::LevelFigures figures;
};

struct ReportContent {
    QString title;        // the content title
    QString pupil;        // the chosen pupil's name
    QDate made;           // the day the report is made
    int graphDays = 3650; // the graphs show the runs of the last this many days
    std::vector<ReportBlock> blocks;
};

// The line at the head of every page: the day it was made and the days its
// graphs cover ("作成日：2026年12月8日　グラフの期間：…～…").
QString reportHeading(const ReportContent& content);

// The levels of each page: blocks of 0.3 of the page height from 0.05, a
// new page when a block would start beyond 0.9 (three to a page). No page
// when there is no block.
std::vector<std::vector<int>> reportPages(const ReportContent& content);

// Where the report is drawn: the page in device units, the font, the width
// of a run's point, and how a new page begins (a new sheet on the printer, a
// cleared picture on the screen).
struct ReportOutput {
    QSizeF page;
    QFont font;
    double pointWidth = 5;
    std::function<void()> newPage;
};

// The one drawing of the report, for the screen and the printer alike: the
// heading and the blocks of each page, as reportPages splits them.
std::vector<std::vector<int>> drawReport(QPainter& p, const ReportContent& content, const ReportOutput& out);

// The scale of the graph's time axis: a top value and a tick step of 1, 2
// or 5 × 10^k that keep every time inside the block, with at most five steps.
struct TimeScale {
    qint32 top = 10;
    qint32 step = 2;
};
TimeScale timeScale(qint32 longest);

// Where the run axis of a graph puts its numbers and its unit "回": the
// numbers hang below the axis line, the unit stands above its end, so that
// a long last number never runs into the unit. About ten numbers, the first
// and the last run always, none closer to the last than half a step.
struct RunAxis {
    struct Label {
        double tickX = 0;
        QRectF box; // the text's box
        QString text;
    };
    std::vector<Label> labels;
    QRectF unit;
};
RunAxis runAxis(const QRectF& plot, int runs, const QFontMetricsF& fm);
