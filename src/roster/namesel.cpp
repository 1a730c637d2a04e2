#include "roster/namesel.h"

#include "base/file_error.h"
#include "base/folder_path.h"
#include "ui/fonts.h"
#include "ui/stage.h"
#include "base/text_util.h"
#include "base/twips.h"
#include "base/user_preferences.h"
#include "records/grades.h"
#include "records/record_loading.h"
#include "roster/name_list.h"
#include "roster/roster_reader.h"
#include "sound/cues.h"
#include "sound/sound_list.h"

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

namesel::namesel(App& app, bool anotherCopyRunning)
    : Screen(app, QStringLiteral("namesel")), anotherCopyRunning_(anotherCopyRunning)
{
    setWindowTitle(QStringLiteral("velmora"));
    const QColor back = QColor::fromRgb(state().backgroundColour);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, back);
    setPalette(pal);

    buildMenus();

    image1_ = new QLabel(this);
    image1_->setObjectName(QStringLiteral("Image1"));
    image1_->setGeometry(twRect(600, 720, 960, 960));

    label4_ = new QLabel(this);
    label4_->setObjectName(QStringLiteral("Label4"));
    label4_->setFont(designFont(kPGothic, 48, true));
    label4_->setGeometry(twRect(1920, 600, 12840, 1200));
    colourText(label4_, Qt::white);

    label1_ = new QLabel(kPrompt, this);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setFont(designFont(kPGothic, 20, true));
    label1_->setGeometry(twRect(600, 2040, 9600, 600));
    colourText(label1_, QColor(255, 255, 160));

    label2_ = new QLabel(this);
    label2_->setObjectName(QStringLiteral("Label2"));
    label2_->setGeometry(twRect(9600, 2040, 600, 600));
    label2_->hide();

    list1_ = new QListWidget(this);
    list1_->setObjectName(QStringLiteral("List1"));
    // Fixed pitch: "　" and "回" take two cells, so the figures line up.
    list1_->setFont(designFont(QStringLiteral("IPAGothic"), 18));
    list1_->setGeometry(twRect(600, 2760, 9600, 6300));
    list1_->installEventFilter(this);
    connect(list1_, &QListWidget::currentRowChanged, this, [this] { List1_Click(); });
    connect(list1_, &QListWidget::itemDoubleClicked, this, [this] { List1_DblClick(); });

    // The reader's notes: a missing roster, lines it could not read.
    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("LabelNote"));
    note_->setFont(designFont(kPGothic, 11));
    note_->setWordWrap(true);
    note_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    note_->setGeometry(twRect(600, 9180, 9600, 1200));
    colourText(note_, QColor(255, 255, 160));

    list2_ = new QListWidget(this);
    list2_->setObjectName(QStringLiteral("List2"));
    list3_ = new QListWidget(this);
    list3_->setObjectName(QStringLiteral("List3"));
    list4_ = new QListWidget(this);
    list4_->setObjectName(QStringLiteral("List4"));
    for (QListWidget* l : {list2_, list3_, list4_}) l->hide();

    static const char16_t* const captions[] = {u"回数(今日／今まで）", u"ポイント（今日／今まで）",
                                               u"本日（ポイント／回数）", u"今まで（ポイント／回数）"};
    options_ = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        auto* b = new QRadioButton(QString::fromUtf16(captions[i]), this);
        b->setObjectName(QStringLiteral("Option1(%1)").arg(i));
        b->setFont(designFont(kPGothic, 12));
        b->setGeometry(twRect(10800, 2760 + i * 540, 4200, 480));
        colourText(b, Qt::white);
        b->installEventFilter(this);
        options_->addButton(b, i);
        option1_[std::size_t(i)] = b;
    }
    option1_[0]->setChecked(true);
    connect(options_, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on) rebuildKeepingChoice();
    });

    command14_ = new QPushButton(QStringLiteral("O.K."), this);
    command14_->setObjectName(QStringLiteral("Command14"));
    command14_->setFont(designFont(kPGothic, 24, true));
    command14_->setGeometry(twRect(10800, 5160, 3600, 1200));
    connect(command14_, &QPushButton::clicked, this, &namesel::Command14_Click);

    command7_ = new QPushButton(QStringLiteral("終了"), this);
    command7_->setObjectName(QStringLiteral("Command7"));
    command7_->setFont(designFont(kPGothic, 16));
    command7_->setGeometry(twRect(10800, 6720, 3600, 900));
    connect(command7_, &QPushButton::clicked, this, &namesel::Command7_Click);

    command1_ = new QPushButton(QStringLiteral("印刷"), this);
    command1_->setObjectName(QStringLiteral("Command1"));
    command1_->setFont(designFont(kPGothic, 16));
    command1_->setGeometry(twRect(10800, 7920, 3600, 900));
    command1_->hide();

    combo1_ = new QComboBox(this);
    combo1_->setObjectName(QStringLiteral("Combo1"));
    combo1_->setGeometry(twRect(10800, 2040, 3600, 480));
    combo1_->addItem(QStringLiteral("全学年"));
    combo1_->hide();
    connect(combo1_, &QComboBox::activated, this, [this] { Combo1_Click(); });

    for (QWidget* w : {static_cast<QWidget*>(command14_), static_cast<QWidget*>(command7_),
                       static_cast<QWidget*>(combo1_)})
        w->installEventFilter(this);

    picture5_ = new QWidget(this);
    picture5_->setObjectName(QStringLiteral("Picture5"));
    picture5_->setAutoFillBackground(true);
    picture5_->setGeometry(twRect(0, 0, 15360, 11520));
    auto* wait = new QLabel(QStringLiteral("Just a moment, please."), picture5_);
    wait->setObjectName(QStringLiteral("Picture5Text"));
    wait->setFont(designFont(kGothic, 24, true));
    wait->setAlignment(Qt::AlignCenter);
    wait->setGeometry(picture5_->rect());
    colourText(wait, Qt::white);
    picture5_->raise();
}

void namesel::buildMenus()
{
    auto* bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("MenuBar"));
    bar->setFont(uiFont());
    QMenu* file = bar->addMenu(QStringLiteral("file"));
    file->setObjectName(QStringLiteral("mnuFile"));
    auto item = [this](QMenu* menu, const QString& name, const QString& text, void (namesel::*slot)()) {
        QAction* a = menu->addAction(text);
        a->setObjectName(name);
        connect(a, &QAction::triggered, this, slot);
    };
    item(file, QStringLiteral("mnuNameChange"), QStringLiteral("名前の変更"), &namesel::mnuNameChange_Click);
    soundOn_ = file->addAction(QStringLiteral("音を出す"));
    soundOn_->setObjectName(QStringLiteral("mnuSound"));
    soundOn_->setCheckable(true);
    soundOn_->setChecked(state().sound.on);
    connect(soundOn_, &QAction::triggered, this, &namesel::setSoundOn);
    item(file, QStringLiteral("mnuExit"), QStringLiteral("終了"), &namesel::Command7_Click);
    QMenu* help = bar->addMenu(QStringLiteral("ヘルプ"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    item(help, QStringLiteral("mnuContents"), QStringLiteral("目次"), &namesel::mnuContents_Click);
    item(help, QStringLiteral("mnuVersion"), QStringLiteral("バージョン情報"), &namesel::mnuVersion_Click);
    item(help, QStringLiteral("menuTQ58"), QStringLiteral("Quorvaneホームページ"), &namesel::menuTQ58_Click);
    for (QMenu* menu : {file, help}) menu->setFont(uiFont());
    bar->setGeometry(0, 0, 1024, bar->sizeHint().height());
}

int namesel::displayMode() const { return options_->checkedId(); }

void namesel::formActivate()
{
    if (!loaded_) {
        loaded_ = true;
        QPointer<namesel> self(this);
        Form_Load();
        if (!self || !stillShown()) return;
    }
    Form_Activate();
}

void namesel::Form_Load()
{
    SharedState& s = state();
    QPointer<namesel> self(this);
    // Refuse to run beside another copy, else read the roster and list its pupils behind the wait panel.
    picture5_->move(0, 0);
    picture5_->show();
    picture5_->raise();
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
    名簿ファイル処理(s);
    名簿表示();
    if (!self || !stillShown()) return;
    label4_->setText(s.contentTitle);
    list1_->setCurrentRow(0);
    list1_->setFocus();
    if (!pump()) return;
    picture5_->hide();
}

void namesel::Form_Activate()
{
    SharedState& s = state();
    QPointer<namesel> self(this);
    // Each showing starts from a fresh roster read, no pupil chosen and every grade listed.
    名簿ファイル処理(s);
    list1_->setCurrentRow(-1);
    command1_->setVisible(s.printButtonShown == 1);
    // A change of the option rebuilds the list.
    option1_[1]->setChecked(true);
    if (!self || !stillShown()) return;
    image1_->setPixmap(programIcon(image1_->width()));
    combo1_->clear();
    combo1_->addItems(gradeFilterChoices());
    combo1_->setCurrentIndex(0);
    s.gradeFilterText = QStringLiteral("全学年");
    label1_->setText(kPrompt);
    picture5_->hide();
}

void namesel::名簿表示()
{
    SharedState& s = state();
    QPointer<namesel> self(this);
    // Refresh the counts, then list the roster's pupils with their figures, filtered by grade.
    if (!回数求(s, services()) || !self || !stillShown()) return;
    if (!pump()) return;

    for (QListWidget* l : {list1_, list2_, list3_, list4_}) l->clear();
    list1_->addItem(kDashes);

    const int mode = displayMode();
    std::vector<PupilEntry> entries;
    const RosterReadResult read = readRoster(s, services(), [&](const RosterRecord& r, const QString& code) {
        if (mode < 0 || mode >= kDisplayModes) return;
        entries.push_back(pupilEntry(r.number, r.birthYear, code, r.name, mode, pupilFigures(s.records, r.number)));
    });
    if (services().end.requested()) return;
    sortPupilEntries(entries);

    // The number travels with the entry, so a name holding "*" and a
    // birth year of any length are shown and chosen whole.
    const QString filter = combo1_->currentText();
    s.roster.listed.clear();
    bool kept = false;
    for (const PupilEntry& e : entries) {
        list2_->addItem(e.line);
        kept = gradeFilterKeeps(filter, gradeOffset(s.roster.schoolYear, e.birthYear), kept);
        if (!kept) continue;
        auto* item = new QListWidgetItem(e.shown);
        item->setData(Qt::UserRole, e.number);
        list1_->addItem(item);
        list3_->addItem(e.tail);
        s.roster.listed.push_back(e.number);
    }
    showReadNotes(read);

    list1_->setCurrentRow(0);
}

void namesel::rebuildKeepingChoice()
{
    const int row = list1_->currentRow();
    const QVariant chosen = row > 0 ? list1_->item(row)->data(Qt::UserRole) : QVariant();
    QPointer<namesel> self(this);
    名簿表示();
    if (!self || !stillShown() || !chosen.isValid()) return;
    for (int i = 1; i < list1_->count(); ++i) {
        if (list1_->item(i)->data(Qt::UserRole) == chosen) {
            list1_->setCurrentRow(i);
            return;
        }
    }
}

void namesel::setSoundOn(bool on)
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

void namesel::showReadNotes(const RosterReadResult& read)
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
        if (skippedLines.size() > kListed)
            text += QStringLiteral("／ほか %1 行").arg(skippedLines.size() - kListed);
    }
    note_->setText(text);
    note_->setVisible(!text.isEmpty());
}

void namesel::List1_Click()
{
    const int i = list1_->currentRow();
    if (i < 0) return;
    if (i == 0) {
        label1_->setText(kPrompt);
        return;
    }
    QListWidgetItem* item = list1_->item(i);
    label1_->setText(clickedNameLabel(item->text(), displayMode()));
    label2_->setText(QString::number(item->data(Qt::UserRole).toInt()));
}

void namesel::List1_DblClick()
{
    const int i = list1_->currentRow();
    if (i < 0) return;
    List1_Click();
    if (i > 0) label1_->setText(doubleClickedNameLabel(list1_->item(i)->text()));
    Command14_Click();
}

void namesel::Command14_Click()
{
    SharedState& s = state();
    const int n = label2_->text().toInt();
    // Sign in the chosen pupil; a choice that is no pupil only beeps.
    if (label1_->text() == kPrompt || label1_->text().isEmpty() || n < 1 || n >= kPupilCount) {
        playWrongCue(s, services());
        return;
    }
    s.nameConfirmedSeconds = qint32(std::lround(services().clock.secondsSinceMidnight()));
    s.pupilNumber = qint16(n);
    s.pupilName = s.roster.names[std::size_t(n)];
    s.pupilGradeLabel = s.roster.gradeLabels[std::size_t(n)];
    command14_->hide();
    picture5_->show();
    picture5_->raise();
    // The lobby takes over and this screen closes.
    app().navigator.openLobby();
}

void namesel::Command7_Click() { app().navigator.leaveProgram(); }

void namesel::Combo1_Click()
{
    state().gradeFilterText = combo1_->currentText();
    QPointer<namesel> self(this);
    名簿表示();
    if (self && stillShown()) list1_->setFocus();
}

void namesel::mnuNameChange_Click() { app().navigator.showRosterEditor(); }

void namesel::mnuContents_Click() { app().navigator.showHelp(); }

void namesel::mnuVersion_Click()
{
    QPointer<namesel> self(this);
    app().navigator.showVersionBox();
    // The screen becomes the active window again.
    if (self && stillShown()) Form_Activate();
}

void namesel::menuTQ58_Click() { app().navigator.openMakerPage(); }

bool namesel::formKeyPress(const QString& text)
{
    if (text == u"1" && command14_->isVisibleTo(this)) {
        Command14_Click();
        return true;
    }
    if (text == u"0" && command7_->isVisibleTo(this)) {
        Command7_Click();
        return true;
    }
    return false;
}

bool namesel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (formKeyPress(key->text())) return true;
        if (watched == list1_ && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
                                  key->key() == Qt::Key_Space)) {
            Command14_Click();
            return true;
        }
    }
    return Screen::eventFilter(watched, event);
}

void namesel::keyPressEvent(QKeyEvent* event)
{
    if (!formKeyPress(event->text())) Screen::keyPressEvent(event);
}
