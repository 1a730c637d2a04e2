#include "lobby/level_column.h"

#include "base/twips.h"
#include "lobby/lobby_controls.h"
#include "lobby/lobby_geometry.h"
#include "lobby/record_list_model.h"
#include "ui/fonts.h"

#include <QFontMetricsF>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QPushButton>

using namespace lobby;

namespace {
const QColor kLightGrey(224, 224, 224);
const QColor kLevelBand(0, 64, 96);
const QColor kMetTarget(0, 128, 0);
constexpr double kCountPoints = 11; // the counts today and so far

// A count wider than its half column (a six-digit point total) is drawn in a
// smaller font, so that it is read whole and never cut at the label's edges.
void setFittedText(QLabel* l, const QString& text, double points)
{
    QFont f = designFont(kPGothic, points, true);
    const double room = l->width() - 4;
    const double wide = QFontMetricsF(f).horizontalAdvance(text);
    if (room > 0 && wide > room) f.setPixelSize(qMax(1, int(f.pixelSize() * room / wide)));
    l->setFont(f);
    l->setText(text);
}
} // namespace

void ClickLabel::mouseReleaseEvent(QMouseEvent* e)
{
    QLabel::mouseReleaseEvent(e);
    if (rect().contains(e->position().toPoint())) emit clicked();
}

LevelColumn::LevelColumn(QWidget* screen, int level, const LevelColumnTexts& texts, double width)
    : level_(level), width_(width)
{
    const QString number = QString::number(level);
    auto name = [&number](const char* base) { return QString::fromLatin1(base) + u'(' + number + u')'; };
    const Colours band = styleFor(Qt::white, kLevelBand);
    const Colours grey = styleFor(Qt::black, kLightGrey);
    const Colours white = styleFor(Qt::white);

    number_ = makeLabel(screen, name("Label1"), {}, 12, true, band, Qt::AlignCenter);
    number_->setText(number);
    name_ = new ClickLabel(screen);
    name_->setObjectName(name("Label3"));
    applyColours(name_, band);
    name_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    name_->setFont(designFont(kPGothic, texts.smallName ? 11 : 12, true));
    name_->setText(texts.name);
    name_->setToolTip(texts.nameTip);
    connect(name_, &ClickLabel::clicked, this, [this] { emit nameClicked(level_); });

    start_ = new QPushButton(texts.startCaption, screen);
    start_->setObjectName(name("Command4"));
    start_->setFont(designFont(kPGothic, 14, true));
    start_->setToolTip(QStringLiteral("クリックしてスタートします。番号を押してもよろしい"));
    connect(start_, &QPushButton::clicked, this, [this] { emit startClicked(level_); });
    blankBox_ = new QLineEdit(screen);
    blankBox_->setObjectName(name("Text1"));
    blankBox_->hide();
    practice_ = new QPushButton(QStringLiteral("練習"), screen);
    practice_->setObjectName(name("Command28"));
    practice_->setFont(designFont(kPGothic, 10, true));
    connect(practice_, &QPushButton::clicked, this, [this] { emit practiceClicked(level_); });
    practice_->raise();
    practice_->hide();

    todayCaption_ = makeLabel(screen, name("Label9"), {}, 10, false, white, Qt::AlignCenter);
    soFarCaption_ = makeLabel(screen, name("Label10"), {}, 10, false, white, Qt::AlignCenter);
    todayCaption_->setText(QStringLiteral("今日"));
    soFarCaption_->setText(QStringLiteral("今まで"));
    today_ = makeLabel(screen, name("Label14"), {}, kCountPoints, true, styleFor(QColor(255, 255, 160)),
                       Qt::AlignCenter);
    soFar_ = makeLabel(screen, name("Label15"), {}, kCountPoints, true, styleFor(QColor(255, 255, 160)),
                       Qt::AlignCenter);
    recent_ = makeLabel(screen, name("Label8"), {}, 10, false, grey, Qt::AlignCenter);
    list_ = new QListView(screen);
    list_->setObjectName(name("List5"));
    lines_ = new RecordListModel(list_);
    list_->setModel(lines_);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QFont fixed = designFont(kGothic, 10);
    fixed.setPixelSize(listFontPixels(width));
    list_->setFont(fixed);
    list_->setFocusPolicy(Qt::NoFocus);
    // Every line is one line of the same font: no text is laid out to size a
    // row, so 20 000 lines fill in a moment.
    list_->setUniformItemSizes(true);
    targets_ = makeLabel(screen, name("Label7"), {}, 10, false, grey, Qt::AlignCenter);
    targets_->setText(texts.targets);
    recordsButton_ = new QPushButton(QStringLiteral("成績表示"), screen);
    recordsButton_->setObjectName(name("Command3"));
    recordsButton_->hide();
    resetTimesButton_ = new QPushButton(QStringLiteral("タイム初期化"), screen);
    resetTimesButton_->setObjectName(name("Command2"));
    resetTimesButton_->hide();
}

void LevelColumn::place(double left)
{
    const ColumnRows& r = columnRows();
    const double w = width_, first = 0.2 * w, half = w / 2;
    number_->setGeometry(twRect(left, r.name.top, first, r.name.height));
    name_->setGeometry(twRect(left + first, r.name.top, w - first, r.name.height));
    start_->setGeometry(twRect(left, r.start.top, w, r.start.height));
    practice_->setGeometry(twRect(left, r.start.top, 0.2 * w, r.start.height));
    blankBox_->setGeometry(practice_->geometry());
    todayCaption_->setGeometry(twRect(left, r.captions.top, half, r.captions.height));
    soFarCaption_->setGeometry(twRect(left + half, r.captions.top, half, r.captions.height));
    today_->setGeometry(twRect(left, r.counts.top, half, r.counts.height));
    soFar_->setGeometry(twRect(left + half, r.counts.top, half, r.counts.height));
    recent_->setGeometry(twRect(left, r.recent.top, w, r.recent.height));
    list_->setGeometry(twRect(left, r.list.top, w, r.list.height));
    targets_->setGeometry(twRect(left, r.targets.top, w, r.targets.height));
    recordsButton_->setGeometry(start_->geometry());
    resetTimesButton_->setGeometry(start_->geometry());
}

void LevelColumn::showCounts(const QString& today, const QString& soFar)
{
    setFittedText(soFar_, soFar, kCountPoints);
    setFittedText(today_, today, kCountPoints);
}

void LevelColumn::showRecent(const QString& line) { recent_->setText(line); }

void LevelColumn::hideFigures()
{
    for (QWidget* w :
         std::initializer_list<QWidget*>{list_, targets_, recent_, today_, soFar_, todayCaption_, soFarCaption_})
        w->hide();
}

void LevelColumn::clearList()
{
    todayCaption_->setText(QStringLiteral("今日"));
    soFarCaption_->setText(QStringLiteral("今まで"));
    lines_->clear();
}

void LevelColumn::setLines(std::vector<lists::ListLine> lines)
{
    lines_->setLines(std::move(lines));
    scrollToOwnLine();
}

void LevelColumn::setRuns(std::vector<lists::RunLine> runs, std::shared_ptr<const lists::RunLineText> text)
{
    lines_->setRuns(std::move(runs), std::move(text));
    scrollToOwnLine();
}

void LevelColumn::scrollToOwnLine()
{
    // The line above the pupil's own is brought into view.
    if (const int own = lines_->firstOwnRow(); own > 0)
        list_->scrollTo(lines_->index(own - 1), QAbstractItemView::PositionAtTop);
}

void LevelColumn::markWithin(qint32 targetTime, bool namedLevel)
{
    lines_->markWithin(targetTime, namedLevel, kMetTarget);
    if (lines_->rowCount() > 0) {
        list_->clearSelection();
        list_->setCurrentIndex(QModelIndex());
    }
}

void LevelColumn::showList() { list_->show(); }
void LevelColumn::hideList() { list_->hide(); }
void LevelColumn::enableStart() { start_->setEnabled(true); }
bool LevelColumn::startEnabled() const { return start_->isEnabled(); }
void LevelColumn::focusStart() { start_->setFocus(); }
void LevelColumn::hideBlankBox() { blankBox_->hide(); }
