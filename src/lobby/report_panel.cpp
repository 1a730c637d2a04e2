// The progress report panel.
//
// Choices where the panel's old behaviour leaves room:
// - The pupil chooser is built from the shared roster tables in the order of
//   the selection screen's list (not from 新名簿.txt, which this program does
//   not use).
// - Printing goes to A4 portrait at the printer's high resolution; beyond
//   the printer, the teacher may preview the pages or save them as a PDF
//   (many homes have no printer). All three draw through the same routine.
// - Zero counts are written as 0, not left blank.
// - On screen the pages are drawn the width of the drawing area with a font
//   a reader can take in at arm's length, one under the other and scrolled;
//   paper keeps the small font, three levels to a sheet.
#include "lobby/report_panel.h"

#include "base/file_error.h"
#include "base/text_util.h"
#include "base/twips.h"
#include "records/record_file.h"
#include "records/record_loading.h"
#include "state/shared_state.h"
#include "ui/fonts.h"
#include "ui/screen.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPaintEvent>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <cmath>

namespace {
constexpr double kFontPoints = 6;       // on paper
constexpr double kScreenFontPoints = 9; // on screen
constexpr double kScreenPointWidth = 5;
constexpr double kPaperProportion = 297.0 / 210.0; // A4 portrait, height to width
constexpr int kPageGap = 8;

QPushButton* button(QWidget* parent, const QString& name, const QString& caption, const QRect& at)
{
    auto* b = Screen::make<QPushButton>(parent, name, at, designFont(kPGothic, 11, true));
    b->setText(caption);
    return b;
}
} // namespace

void ReportPages::setReport(ReportContent content, const QFont& font, double pointWidth, int width)
{
    content_ = std::move(content);
    font_ = font;
    pointWidth_ = pointWidth;
    pages_ = reportPages(content_).size();
    resize(width, 0);
    const int height = pages_ > 0 ? pageTop(int(pages_)) - kPageGap : parentWidget() ? parentWidget()->height() : 0;
    resize(width, height);
    update();
}

double ReportPages::pageHeight() const { return width() * kPaperProportion; }

int ReportPages::pageTop(int page) const { return int(std::ceil(page * (pageHeight() + kPageGap))); }

void ReportPages::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(160, 160, 160));
    if (pages_ == 0) {
        p.setFont(font_);
        p.setPen(Qt::white);
        p.drawText(rect().adjusted(12, 24, -12, 0), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                   QStringLiteral("見たいレベルを右の一覧から選んでください。"));
        return;
    }
    p.setRenderHint(QPainter::Antialiasing);
    for (int page = 0; page < int(pages_); ++page)
        p.fillRect(QRectF(0, pageTop(page), width(), pageHeight()), Qt::white);
    ReportOutput out;
    out.page = QSizeF(width(), pageHeight());
    out.font = font_;
    out.pointWidth = pointWidth_;
    int page = 0;
    out.newPage = [&] {
        ++page;
        p.translate(0, pageTop(page) - pageTop(page - 1));
    };
    // Only the pages in the update region are drawn at all; the painter clips the rest.
    drawReport(p, content_, out);
}

ReportPanel::ReportPanel(App& app, std::function<lists::Viewer()> viewer, QWidget* parent)
    : QFrame(parent), app_(app), viewer_(std::move(viewer))
{
    setObjectName(QStringLiteral("Picture11"));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(236, 236, 228));
    setPalette(pal);
    setGeometry(twRect(120, 1740, 15120, 9500));

    pageArea_ = new QScrollArea(this);
    pageArea_->setObjectName(QStringLiteral("Picture12"));
    pageArea_->setGeometry(twRect(120, 120, 11400, 9260));
    pageArea_->setFrameShape(QFrame::NoFrame);
    pageArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    pageArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    pages_ = new ReportPages;
    pages_->setObjectName(QStringLiteral("ReportPages"));
    pageArea_->setWidget(pages_);

    const double x = 11700, w = 3300;
    otherPupils_ = button(this, QStringLiteral("Command25"), QStringLiteral("他の人のデータを見る"),
                          twRect(x, 120, w, 480));
    pupilChooser_ = new QListWidget(this);
    pupilChooser_->setObjectName(QStringLiteral("List2"));
    pupilChooser_->setGeometry(twRect(x, 120, w, 2400));
    pupilChooser_->setFont(designFont(kPGothic, 11));
    pupilChooser_->hide();
    levelChooser_ = new QListWidget(this);
    levelChooser_->setObjectName(QStringLiteral("List3"));
    levelChooser_->setGeometry(twRect(x, 2640, w, 2000));
    levelChooser_->setFont(designFont(kPGothic, 11));
    levelChooser_->setSelectionMode(QAbstractItemView::MultiSelection);
    scratchRanking_ = new QListWidget(this);
    scratchRanking_->setObjectName(QStringLiteral("List4"));
    scratchRanking_->hide();

    showButton_ = button(this, QStringLiteral("Command24(0)"), QStringLiteral("表示"), twRect(x, 4800, 1600, 480));
    printButton_ = button(this, QStringLiteral("Command24(1)"), QStringLiteral("印刷"),
                          twRect(x + 1700, 4800, 1600, 480));
    preview_ = button(this, QStringLiteral("CommandPreview"), QStringLiteral("プレビュー"), twRect(x, 5400, 1600, 480));
    pdf_ = button(this, QStringLiteral("CommandPdf"), QStringLiteral("PDF保存"), twRect(x + 1700, 5400, 1600, 480));
    unusedPrint_ = button(this, QStringLiteral("Command20"), QStringLiteral("印刷"), twRect(x + 1700, 6000, 1600, 480));
    unusedPrint_->hide(); // it has no behaviour
    // Where the last PDF went; the hidden button's place is free.
    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("LabelReportNote"));
    note_->setGeometry(twRect(x, 6000, w, 2500));
    note_->setFont(designFont(kPGothic, 10));
    note_->setWordWrap(true);
    note_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    back_ = button(this, QStringLiteral("Command18"), QStringLiteral("戻る"), twRect(x, 8700, w, 600));
    setTeacher(false);

    connect(otherPupils_, &QPushButton::clicked, this, &ReportPanel::offerOtherPupils);
    connect(pupilChooser_, &QListWidget::itemClicked, this, &ReportPanel::pupilChosen);
    connect(levelChooser_, &QListWidget::itemClicked, this, &ReportPanel::levelsChosen);
    connect(showButton_, &QPushButton::clicked, this, &ReportPanel::showReport);
    connect(printButton_, &QPushButton::clicked, this, &ReportPanel::printReport);
    connect(preview_, &QPushButton::clicked, this, &ReportPanel::previewReport);
    connect(pdf_, &QPushButton::clicked, this, &ReportPanel::saveReportPdf);
    connect(back_, &QPushButton::clicked, this, &ReportPanel::closeReport);
    hide();
}

void ReportPanel::setTeacher(bool teacher)
{
    printButton_->setVisible(teacher);
    preview_->setVisible(teacher);
    pdf_->setVisible(teacher);
}

void ReportPanel::fillChoosers()
{
    const SharedState& s = app_.state;
    pupilChooser_->clear();
    for (const int pupil : lists::rosterList(s.roster)) {
        if (pupil < 0 || pupil >= kPupilCount) continue;
        pupilChooser_->addItem(
            report::chooserLine(s.roster.gradeLabels[std::size_t(pupil)], s.roster.names[std::size_t(pupil)], pupil));
    }
    levelChooser_->clear();
    for (int level = 1; level <= s.levelCount; ++level) levelChooser_->addItem(QString::number(level));
}

void ReportPanel::showCurrentPupil()
{
    chosenPupil_ = app_.state.pupilNumber;
    note_->clear();
    pupilChooser_->hide();
    otherPupils_->show();
    pupilChooser_->clearSelection();
    pupilChooser_->setCurrentItem(nullptr, QItemSelectionModel::NoUpdate);
    levelChooser_->clearSelection();
    for (int row = 0; row < std::min(3, levelChooser_->count()); ++row) levelChooser_->item(row)->setSelected(true);
    drawOnScreen();
}

void ReportPanel::offerOtherPupils()
{
    otherPupils_->hide();
    pupilChooser_->show();
}

void ReportPanel::pupilChosen() { showReport(); }

void ReportPanel::levelsChosen()
{
    if (isVisible()) showReport();
}

void ReportPanel::takeChosenPupil()
{
    // The chosen pupil stays unless a line of the chooser is selected.
    const QList<QListWidgetItem*> selected = pupilChooser_->selectedItems();
    if (pupilChooser_->count() > 0 && !selected.isEmpty())
        chosenPupil_ = report::chooserPupil(selected.first()->text());
}

void ReportPanel::showReport()
{
    takeChosenPupil();
    drawOnScreen();
}

void ReportPanel::printReport()
{
    takeChosenPupil();
    if (!levelChosen()) return;
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(printer);
    if (!app_.services.dialogs.choosePrinter(printer, this)) return;
    print(printer);
}

bool ReportPanel::levelChosen()
{
    if (!levelChooser_->selectedItems().isEmpty()) return true;
    app_.services.dialogs.message(
        QStringLiteral("レベルが選ばれていません。右の一覧で、成績表にするレベルを選んでください。"),
        app_.state.contentTitle);
    return false;
}

void ReportPanel::previewReport()
{
    takeChosenPupil();
    if (!levelChosen()) return;
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(printer);
    app_.services.dialogs.previewPrint(printer, this, [this](QPrinter* p) { print(*p); });
}

void ReportPanel::saveReportPdf()
{
    takeChosenPupil();
    if (!levelChosen()) return;
    const SharedState& s = app_.state;
    const QString name = chosenPupil_ >= 0 && chosenPupil_ < kPupilCount
                             ? trimBlanks(s.roster.names[std::size_t(chosenPupil_)])
                             : QString();
    const QString suggested = QDir::home().filePath(
        QStringLiteral("成績表_%1.pdf").arg(name.isEmpty() ? QString::number(chosenPupil_) : name));
    const QString file = app_.services.dialogs.chooseSaveFile(this, QStringLiteral("成績表をPDFで保存"), suggested,
                                                              QStringLiteral("PDF (*.pdf)"));
    if (file.isEmpty()) return;
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(printer);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    if (print(printer)) note_->setText(QStringLiteral("PDFを保存しました：%1").arg(QDir::toNativeSeparators(file)));
    else note_->clear();
}

void ReportPanel::closeReport() { hide(); }

void ReportPanel::preparePrinter(QPrinter& printer)
{
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setDocName(QStringLiteral("%1 成績表").arg(app_.state.contentTitle));
}

ReportContent ReportPanel::content()
{
    SharedState& s = app_.state;
    Services& sv = app_.services;
    ReportContent c;
    c.title = s.contentTitle;
    c.made = sv.clock.today();
    if (chosenPupil_ >= 0 && chosenPupil_ < kPupilCount)
        c.pupil = trimBlanks(s.roster.names[std::size_t(chosenPupil_)]);

    ResultTail tail;
    const QString path = resultFilePath(s);
    if (QFileInfo::exists(path)) {
        QFile f(path);
        QString error;
        if (!openWithReason(f, QIODevice::ReadOnly, &error) || !readResultTail(f, kLoadWindow, tail, &error)) {
            sv.dialogs.message(QStringLiteral("成績ファイルを読み込めないため、グラフを描けません。\r\n%1\r\n%2")
                                   .arg(QDir::toNativeSeparators(path), error),
                               s.contentTitle);
            tail = ResultTail{};
        }
    }
    const lists::Viewer v = viewer_();
    scratchRanking_->clear();
    for (int row = 0; row < levelChooser_->count(); ++row) {
        if (!levelChooser_->item(row)->isSelected()) continue;
        const int level = levelChooser_->item(row)->text().toInt();
        if (level < 1 || level > s.levelCount || level >= kLevelCount) continue;
        ReportBlock b;
        b.level = level;
        b.levelName = s.levelNames[std::size_t(level)];
        b.times = report::runTimes(tail.bytes.constData(), tail.count, chosenPupil_, level, c.made, c.graphDays);
        b.figures = report::levelFigures(s, level, chosenPupil_, v);
        // The scratch list holds the level's point ranking while it is computed.
        for (const lists::ListLine& line :
             lists::rankLevel(s, level, lists::Order::Points, lists::PointRanking::SoFar, v).lines)
            scratchRanking_->addItem(line.text);
        c.blocks.push_back(std::move(b));
    }
    return c;
}

void ReportPanel::drawOnScreen()
{
    setGeometry(twRect(120, 1740, 15120, 9500));
    ReportContent c = content();
    screenPages_ = reportPages(c);
    // The page takes the whole width beside the scroll bar (always shown).
    const int width = pageArea_->maximumViewportSize().width();
    pages_->setReport(std::move(c), designFont(kGothic, kScreenFontPoints), kScreenPointWidth, width);
    pageArea_->verticalScrollBar()->setValue(0);
    show();
    raise();
}

bool ReportPanel::print(QPrinter& printer)
{
    QPainter p;
    if (!p.begin(&printer)) {
        const bool toFile = printer.outputFormat() == QPrinter::PdfFormat;
        app_.services.dialogs.message(
            toFile
                ? QStringLiteral("PDFを保存できません。\r\n%1").arg(QDir::toNativeSeparators(printer.outputFileName()))
                : QStringLiteral("印刷を始められません。プリンターの設定を確かめてください。"),
            app_.state.contentTitle);
        return false;
    }
    p.setRenderHint(QPainter::Antialiasing);
    ReportOutput out;
    out.page = printer.pageLayout().paintRectPixels(printer.resolution()).size();
    out.font = designFont(kGothic, 10);
    out.font.setPointSizeF(kFontPoints);
    out.pointWidth = kScreenPointWidth * printer.resolution() / 96.0;
    out.newPage = [&printer] { printer.newPage(); };
    drawReport(p, content(), out);
    return p.end();
}
