#include "roster/name_selection_screen.h"

#include "base/file_error.h"
#include "base/folder_path.h"
#include "base/text_util.h"
#include "base/twips.h"
#include "base/user_preferences.h"
#include "records/grades.h"
#include "records/record_loading.h"
#include "roster/name_list.h"
#include "roster/roster_reader.h"
#include "sound/cues.h"
#include "sound/sound_list.h"
#include "ui/fonts.h"
#include "ui/stage.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>

namespace {
const QString kPrompt = QStringLiteral("名前を選びなさい");
const QString kDashes = QStringLiteral("－－－－－－");

// The program's picture: the four operators on a tile.
QPixmap programIcon(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(255, 244, 200));
    p.setPen(QPen(QColor(120, 80, 20), 2));
    p.drawRoundedRect(QRectF(1, 1, size - 2, size - 2), size / 6.0, size / 6.0);
    QFont f = designFont(kGothic, size / 4.5, true);
    p.setFont(f);
    const QColor ink[] = {QColor(200, 40, 40), QColor(30, 90, 200), QColor(20, 130, 60), QColor(160, 60, 170)};
    const char16_t* ops[] = {u"＋", u"－", u"×", u"÷"};
    for (int i = 0; i < 4; ++i) {
        p.setPen(ink[i]);
        const QRectF cell((i % 2) * size / 2.0, (i / 2) * size / 2.0, size / 2.0, size / 2.0);
        p.drawText(cell, Qt::AlignCenter, QString::fromUtf16(ops[i]));
    }
    return pm;
}

void colourText(QWidget* w, const QColor& c)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, c);
    w->setPalette(pal);
}
} // namespace

NameSelectionScreen::NameSelectionScreen(App& app, bool anotherCopyRunning)
    : Screen(app, QStringLiteral("namesel")), anotherCopyRunning_(anotherCopyRunning)
{
    setWindowTitle(QStringLiteral("velmora"));
    const QColor back = QColor::fromRgb(state().backgroundColour);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, back);
    setPalette(pal);

    buildMenus();

    icon_ = new QLabel(this);
    icon_->setObjectName(QStringLiteral("Image1"));
    icon_->setGeometry(twRect(600, 720, 960, 960));

    title_ = new QLabel(this); // the content title
    title_->setObjectName(QStringLiteral("Label4"));
    title_->setFont(designFont(kPGothic, 48, true));
    title_->setGeometry(twRect(1920, 600, 12840, 1200));
    colourText(title_, Qt::white);

    chosenName_ = new QLabel(kPrompt, this); // the prompt, then the chosen name
    chosenName_->setObjectName(QStringLiteral("Label1"));
    chosenName_->setFont(designFont(kPGothic, 20, true));
    chosenName_->setGeometry(twRect(600, 2040, 9600, 600));
    colourText(chosenName_, QColor(255, 255, 160));

    // Hidden: shows the chosen pupil's number, kept in chosenPupil_.
    pupilNumberLabel_ = new QLabel(this);
    pupilNumberLabel_->setObjectName(QStringLiteral("Label2"));
    pupilNumberLabel_->setGeometry(twRect(9600, 2040, 600, 600));
    pupilNumberLabel_->hide();

    names_ = new QListWidget(this);
    names_->setObjectName(QStringLiteral("List1"));
    // Fixed pitch: "　" and "回" take two cells, so the figures line up.
    names_->setFont(designFont(QStringLiteral("IPAGothic"), 18));
    names_->setGeometry(twRect(600, 2760, 9600, 6300));
    names_->installEventFilter(this);
    connect(names_, &QListWidget::currentRowChanged, this, [this] { showChosenName(); });
    connect(names_, &QListWidget::itemDoubleClicked, this, [this] { confirmDoubleClickedName(); });

    // The reader's notes: a missing roster, lines it could not read.
    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("LabelNote"));
    note_->setFont(designFont(kPGothic, 11));
    note_->setWordWrap(true);
    note_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    note_->setGeometry(twRect(600, 9180, 9600, 1200));
    colourText(note_, QColor(255, 255, 160));

    // Hidden lists: every pupil's whole line, and the listed lines' tails.
    sortedLines_ = new QListWidget(this);
    sortedLines_->setObjectName(QStringLiteral("List2"));
    lineTails_ = new QListWidget(this);
    lineTails_->setObjectName(QStringLiteral("List3"));
    spareList_ = new QListWidget(this);
    spareList_->setObjectName(QStringLiteral("List4"));
    for (QListWidget* l : {sortedLines_, lineTails_, spareList_}) l->hide();

    static const char16_t* const captions[] = {u"回数(今日／今まで）", u"ポイント（今日／今まで）",
                                               u"本日（ポイント／回数）", u"今まで（ポイント／回数）"};
    displayGroup_ = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        auto* b = new QRadioButton(QString::fromUtf16(captions[i]), this);
        b->setObjectName(QStringLiteral("Option1(%1)").arg(i));
        b->setFont(designFont(kPGothic, 12));
        b->setGeometry(twRect(10800, 2760 + i * 540, 4200, 480));
        colourText(b, Qt::white);
        b->installEventFilter(this);
        displayGroup_->addButton(b, i);
        displayOptions_[std::size_t(i)] = b;
    }
    displayOptions_[0]->setChecked(true);
    connect(displayGroup_, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on) rebuildKeepingChoice();
    });

    confirm_ = new QPushButton(QStringLiteral("O.K."), this);
    confirm_->setObjectName(QStringLiteral("Command14"));
    confirm_->setFont(designFont(kPGothic, 24, true));
    confirm_->setGeometry(twRect(10800, 5160, 3600, 1200));
    connect(confirm_, &QPushButton::clicked, this, &NameSelectionScreen::confirmName);

    leave_ = new QPushButton(QStringLiteral("終了"), this);
    leave_->setObjectName(QStringLiteral("Command7"));
    leave_->setFont(designFont(kPGothic, 16));
    leave_->setGeometry(twRect(10800, 6720, 3600, 900));
    connect(leave_, &QPushButton::clicked, this, &NameSelectionScreen::leave);

    print_ = new QPushButton(QStringLiteral("印刷"), this);
    print_->setObjectName(QStringLiteral("Command1"));
    print_->setFont(designFont(kPGothic, 16));
    print_->setGeometry(twRect(10800, 7920, 3600, 900));
    print_->hide();

    gradeFilter_ = new QComboBox(this);
    gradeFilter_->setObjectName(QStringLiteral("Combo1"));
    gradeFilter_->setGeometry(twRect(10800, 2040, 3600, 480));
    gradeFilter_->addItem(QStringLiteral("全学年"));
    gradeFilter_->hide();
    connect(gradeFilter_, &QComboBox::activated, this, [this] { filterByGrade(); });

    for (QWidget* w :
         {static_cast<QWidget*>(confirm_), static_cast<QWidget*>(leave_), static_cast<QWidget*>(gradeFilter_)})
        w->installEventFilter(this);

    waitPanel_ = new QWidget(this);
    waitPanel_->setObjectName(QStringLiteral("Picture5"));
    waitPanel_->setAutoFillBackground(true);
    waitPanel_->setGeometry(twRect(0, 0, 15360, 11520));
    auto* wait = new QLabel(QStringLiteral("Just a moment, please."), waitPanel_);
    wait->setObjectName(QStringLiteral("Picture5Text"));
    wait->setFont(designFont(kGothic, 24, true));
    wait->setAlignment(Qt::AlignCenter);
    wait->setGeometry(waitPanel_->rect());
    colourText(wait, Qt::white);
    waitPanel_->raise();
}

void NameSelectionScreen::buildMenus()
{
    auto* bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("MenuBar"));
    bar->setFont(uiFont());
    QMenu* file = bar->addMenu(QStringLiteral("file"));
    file->setObjectName(QStringLiteral("mnuFile"));
    auto item = [this](QMenu* menu, const QString& name, const QString& text, void (NameSelectionScreen::*slot)()) {
        QAction* a = menu->addAction(text);
        a->setObjectName(name);
        connect(a, &QAction::triggered, this, slot);
    };
    item(file, QStringLiteral("mnuNameChange"), QStringLiteral("名前の変更"), &NameSelectionScreen::openRosterEditor);
    soundOn_ = file->addAction(QStringLiteral("音を出す"));
    soundOn_->setObjectName(QStringLiteral("mnuSound"));
    soundOn_->setCheckable(true);
    soundOn_->setChecked(state().sound.on);
    connect(soundOn_, &QAction::triggered, this, &NameSelectionScreen::setSoundOn);
    item(file, QStringLiteral("mnuExit"), QStringLiteral("終了"), &NameSelectionScreen::leave);
    QMenu* help = bar->addMenu(QStringLiteral("ヘルプ"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    item(help, QStringLiteral("mnuContents"), QStringLiteral("目次"), &NameSelectionScreen::openHelp);
    item(help, QStringLiteral("mnuVersion"), QStringLiteral("バージョン情報"), &NameSelectionScreen::openAboutBox);
    item(help, QStringLiteral("menuTQ58"), QStringLiteral("Quorvaneホームページ"),
         &NameSelectionScreen::visitMakerPage);
    for (QMenu* menu : {file, help}) menu->setFont(uiFont());
    bar->setGeometry(0, 0, 1024, bar->sizeHint().height());
}

DisplayMode NameSelectionScreen::displayMode() const { return DisplayMode(displayGroup_->checkedId()); }

void NameSelectionScreen::formActivate()
{
    if (!loaded_) {
        loaded_ = true;
        QPointer<NameSelectionScreen> self(this);
        load();
        if (!self || !stillShown()) return;
    }
    activate();
}

void NameSelectionScreen::load()
{
    SharedState& s = state();
    QPointer<NameSelectionScreen> self(this);
    // Refuse to run beside another copy, else read the roster and list its pupils behind the wait panel.
    waitPanel_->move(0, 0);
    waitPanel_->show();
    waitPanel_->raise();
    s.random.seed(std::uint32_t(services().clock.now().time().msecsSinceStartOfDay()));
    // The installation's lock was taken at start-up; another process holds it.
    if (anotherCopyRunning_) {
        services().dialogs.message(
            QStringLiteral("このプログラムと同じプログラムがすでに起動され、完全に終了されていません。"
                           "同じプログラムを完全に終了させてから実行してください。"),
            QStringLiteral("注意"), Dialogs::Icon::Error);
        services().end.request(1);
        return;
    }
    // A roster left only as 生徒用名簿temp.txt is put in place before the
    // first reading, so that its pupils are listed at once.
    restoreLeftoverRoster(s);
    listPupils();
    if (!self || !stillShown()) return;
    title_->setText(s.contentTitle);
    names_->setCurrentRow(0);
    names_->setFocus();
    if (!pump()) return;
    waitPanel_->hide();
}

void NameSelectionScreen::activate()
{
    SharedState& s = state();
    QPointer<NameSelectionScreen> self(this);
    // Each showing starts from a fresh roster read, no pupil chosen and every grade listed.
    restoreLeftoverRoster(s);
    names_->setCurrentRow(-1);
    print_->setVisible(s.printButtonShown);
    // A change of the option rebuilds the list.
    displayOptions_[1]->setChecked(true);
    if (!self || !stillShown()) return;
    icon_->setPixmap(programIcon(icon_->width()));
    gradeFilter_->clear();
    gradeFilter_->addItems(gradeFilterChoices());
    gradeFilter_->setCurrentIndex(0);
    s.gradeFilterText = QStringLiteral("全学年");
    chosenName_->setText(kPrompt);
    waitPanel_->hide();
}

void NameSelectionScreen::listPupils()
{
    SharedState& s = state();
    QPointer<NameSelectionScreen> self(this);
    // Refresh the counts, then list the roster's pupils with their figures, filtered by grade.
    if (!loadRecordsAndCounts(s, services()) || !self || !stillShown()) return;
    if (!pump()) return;

    for (QListWidget* l : {names_, sortedLines_, lineTails_, spareList_}) l->clear();
    names_->addItem(kDashes);

    const int checked = displayGroup_->checkedId();
    const DisplayMode mode = displayMode();
    std::vector<PupilEntry> entries;
    const RosterReadResult read = readRoster(s, services(), [&](const RosterRecord& r, const QString& code) {
        if (checked < 0 || checked >= kDisplayModes) return;
        entries.push_back(pupilEntry(r.number, r.birthYear, code, r.name, mode, pupilFigures(s.records, r.number)));
    });
    if (services().end.requested()) return;
    sortPupilEntries(entries);

    // The number travels with the entry, so a name holding "*" and a
    // birth year of any length are shown and chosen whole.
    const QString filter = gradeFilter_->currentText();
    s.roster.listed.clear();
    bool kept = false;
    for (const PupilEntry& e : entries) {
        sortedLines_->addItem(e.line);
        kept = gradeFilterKeeps(filter, gradeOffset(s.roster.schoolYear, e.birthYear), kept);
        if (!kept) continue;
        auto* item = new QListWidgetItem(e.shown);
        item->setData(Qt::UserRole, e.number);
        names_->addItem(item);
        lineTails_->addItem(e.tail);
        s.roster.listed.push_back(e.number);
    }
    showReadNotes(read);

    names_->setCurrentRow(0);
}

void NameSelectionScreen::rebuildKeepingChoice()
{
    const int row = names_->currentRow();
    const QVariant chosen = row > 0 ? names_->item(row)->data(Qt::UserRole) : QVariant();
    QPointer<NameSelectionScreen> self(this);
    listPupils();
    if (!self || !stillShown() || !chosen.isValid()) return;
    for (int i = 1; i < names_->count(); ++i) {
        if (names_->item(i)->data(Qt::UserRole) == chosen) {
            names_->setCurrentRow(i);
            return;
        }
    }
}

void NameSelectionScreen::setSoundOn(bool on)
{
    SharedState& s = state();
    if (on) {
        // Turned on, the answer cues must have their files, as at start-up;
        // otherwise the fourth answer would end the program.
        try {
            checkAnswerCues(s);
        } catch (const FileError& e) {
            services().dialogs.message(e.message() + QStringLiteral("\r\n音は出さないままにします。"), s.contentTitle);
            soundOn_->setChecked(false);
            return;
        }
    }
    s.sound.on = on;
    user_preferences::setSoundOn(on);
}

void NameSelectionScreen::showReadNotes(const RosterReadResult& read)
{
    const QStringList& skippedLines = read.skippedLines;
    QString text = read.missingNote;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("　"));
    if (!read.encodingNote.isEmpty()) text += (text.isEmpty() ? QString() : QStringLiteral("\n")) + read.encodingNote;
    if (!skippedLines.isEmpty()) {
        if (!text.isEmpty()) text += u'\n';
        // The first few only: a file that is not a roster at all has
        // thousands of lines, and the note must stay a few lines long.
        constexpr qsizetype kListed = 5;
        text += QStringLiteral("名簿ファイルの次の行は読めないため表示していません：") +
                skippedLines.mid(0, kListed).join(QStringLiteral("／"));
        if (skippedLines.size() > kListed) text += QStringLiteral("／ほか %1 行").arg(skippedLines.size() - kListed);
    }
    note_->setText(text);
    note_->setVisible(!text.isEmpty());
}

void NameSelectionScreen::showChosenName()
{
    const int i = names_->currentRow();
    if (i < 0) return;
    if (i == 0) {
        chosenName_->setText(kPrompt);
        return;
    }
    QListWidgetItem* item = names_->item(i);
    chosenName_->setText(clickedNameLabel(item->text(), displayMode()));
    chosenPupil_ = qint16(item->data(Qt::UserRole).toInt());
    pupilNumberLabel_->setText(QString::number(chosenPupil_));
}

void NameSelectionScreen::confirmDoubleClickedName()
{
    const int i = names_->currentRow();
    if (i < 0) return;
    showChosenName();
    if (i > 0) chosenName_->setText(doubleClickedNameLabel(names_->item(i)->text()));
    confirmName();
}

void NameSelectionScreen::confirmName()
{
    SharedState& s = state();
    const int n = chosenPupil_;
    // Sign in the chosen pupil; a choice that is no pupil only beeps.
    if (chosenName_->text() == kPrompt || chosenName_->text().isEmpty() || n < 1 || n >= kPupilCount) {
        playWrongCue(s, services());
        return;
    }
    s.nameConfirmedSeconds = qint32(std::lround(services().clock.secondsSinceMidnight()));
    s.pupilNumber = qint16(n);
    s.pupilName = s.roster.names[std::size_t(n)];
    s.pupilGradeLabel = s.roster.gradeLabels[std::size_t(n)];
    confirm_->hide();
    waitPanel_->show();
    waitPanel_->raise();
    // The lobby takes over and this screen closes.
    app().navigator.openLobby();
}

void NameSelectionScreen::leave() { app().navigator.leaveProgram(); }

void NameSelectionScreen::filterByGrade()
{
    state().gradeFilterText = gradeFilter_->currentText();
    QPointer<NameSelectionScreen> self(this);
    listPupils();
    if (self && stillShown()) names_->setFocus();
}

void NameSelectionScreen::openRosterEditor() { app().navigator.showRosterEditor(); }

void NameSelectionScreen::openHelp() { app().navigator.showHelp(); }

void NameSelectionScreen::openAboutBox()
{
    QPointer<NameSelectionScreen> self(this);
    app().navigator.showVersionBox();
    // The screen becomes the active window again.
    if (self && stillShown()) activate();
}

void NameSelectionScreen::visitMakerPage() { app().navigator.openMakerPage(); }

bool NameSelectionScreen::formKeyPress(const QString& text)
{
    if (text == u"1" && confirm_->isVisibleTo(this)) {
        confirmName();
        return true;
    }
    if (text == u"0" && leave_->isVisibleTo(this)) {
        leave();
        return true;
    }
    return false;
}

bool NameSelectionScreen::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (formKeyPress(key->text())) return true;
        if (watched == names_ &&
            (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Space)) {
            confirmName();
            return true;
        }
    }
    return Screen::eventFilter(watched, event);
}

void NameSelectionScreen::keyPressEvent(QKeyEvent* event)
{
    if (!formKeyPress(event->text())) Screen::keyPressEvent(event);
}
