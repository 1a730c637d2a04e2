#pragma once
#include "lobby/record_lists.h"
#include "lobby/report_painter.h"
#include "ui/app.h"

#include <QFrame>
#include <functional>

class QLabel;
class QListWidget;
class QScrollArea;
class QPrinter;
class QPushButton;

// The report's pages on screen, one under the other, each the width of the
// widget and of the paper's proportions; painted from the content kept, so
// that text stays sharp at any scale of the stage.
class ReportPages : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    // Keeps `content` and takes the height of its pages at `width`.
    void setReport(ReportContent content, const QFont& font, double pointWidth, int width);
    // The top of page `page` (0-based), in the widget.
    int pageTop(int page) const;
    double pageHeight() const;
    int pageCount() const { return int(pages_); }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    ReportContent content_;
    QFont font_;
    double pointWidth_ = 5;
    std::size_t pages_ = 0;
};

// Picture11: the progress report of one pupil, level by level, with its
// graph and table, on screen, on paper, in a print preview or as a PDF.
class ReportPanel : public QFrame {
    Q_OBJECT
public:
    // `viewer` gives the grade filter and the current pupil of the lobby.
    ReportPanel(App& app, std::function<lists::Viewer()> viewer, QWidget* parent);

    // The pupil chooser from the roster list, the level chooser 1..N.
    void fillChoosers();
    // The print, preview and PDF buttons are the teacher's.
    void setTeacher(bool teacher);

    void showCurrentPupil(); // "グラフ": the current pupil, levels 1–3, on screen
    void offerOtherPupils(); // "他の人のデータを見る": the pupil chooser
    void pupilChosen();      // another pupil chosen
    void levelsChosen();     // levels chosen
    void showReport();       // "表示": on screen
    void printReport();      // "印刷": on the printer
    void previewReport();    // the teacher's print preview
    void saveReportPdf();    // the teacher's PDF
    void closeReport();      // "戻る"

    int chosenPupil() const { return chosenPupil_; }
    // The levels drawn on each page of the screen's last drawing.
    const std::vector<std::vector<int>>& screenPages() const { return screenPages_; }

private:
    ReportContent content();
    void takeChosenPupil();
    // False, with a message, when no level is chosen: nothing to put on paper.
    bool levelChosen();
    void drawOnScreen();
    // Draws the report on `printer`; false (and a message) when it cannot.
    bool print(QPrinter& printer);
    void preparePrinter(QPrinter& printer);

    App& app_;
    std::function<lists::Viewer()> viewer_;
    int chosenPupil_ = 0;
    std::vector<std::vector<int>> screenPages_;

    QScrollArea* pageArea_;
    ReportPages* pages_;
    QLabel* note_;
    QListWidget* pupilChooser_;
    QListWidget* levelChooser_;
    QListWidget* scratchRanking_;
    QPushButton* showButton_;
    QPushButton* printButton_;
    QPushButton* otherPupils_;
    QPushButton* back_;
    QPushButton* unusedPrint_;
    QPushButton* preview_;
    QPushButton* pdf_;
};
