#pragma once
#include "lobby/report_figures.h"

#include <QFont>
#include <QSizeF>
#include <QString>
#include <functional>
#include <vector>

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
    QString title;  // the content title
    QString pupil;  // the chosen pupil's name
    std::vector<ReportBlock> blocks;
};

// Where the report is drawn: the page in device units, the font, the width
// of a run's point, and how a new page begins (a new sheet on the printer, a
// cleared picture on the screen).
struct ReportOutput {
    QSizeF page;
    QFont font;
    double pointWidth = 5;
    std::function<void()> newPage;
};

// The one drawing of the report, for the screen and the printer alike:
// blocks of 0.3 of the page height from 0.05, a new page when a block would
// start beyond 0.9. Returns the levels drawn on each page.
std::vector<std::vector<int>> drawReport(QPainter& p, const ReportContent& content, const ReportOutput& out);

// The scale of the graph's time axis: a top value and a tick step of 1, 2
// or 5 × 10^k that keep every time inside the block, with at most five steps.
struct TimeScale {
    qint32 top = 10;
    qint32 step = 2;
};
TimeScale timeScale(qint32 longest);
