#include "roster/roster_editor.h"

#include "base/folder_path.h"
#include "base/text_file.h"
#include "base/text_util.h"
#include "base/twips.h"
#include "records/record_file.h"
#include "records/record_format.h"
#include "roster/roster_edit.h"
#include "state/catalogue.h"
#include "ui/fonts.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
QLabel* label(QWidget* parent, const QString& name, const QString& text, const QRect& at, double points,
              bool bold = false)
{
    auto* l = Screen::make<QLabel>(parent, name, at, designFont(kPGothic, points, bold));
    l->setText(text);
    return l;
}
} // namespace

RosterEditor::RosterEditor(App& app) : Screen(app, QStringLiteral("FrmName2"))
{
    setWindowTitle(QStringLiteral("名前変更"));
    label(this, QStringLiteral("Label4"), QStringLiteral("名前変更"), twRect(900, 600, 6000, 900), 28, true);
    label(this, QStringLiteral("Label1"), QStringLiteral("生まれた年"), twRect(900, 1920, 2400, 480), 14);
    label(this, QStringLiteral("Label2"), QStringLiteral("名前"), twRect(3600, 1920, 7200, 480), 14);
    for (int r = 1; r <= 3; ++r) {
        const int top = 2520 + (r - 1) * 900;
        auto* year = new QLineEdit(this);
        year->setObjectName(QStringLiteral("Text2(%1)").arg(r));
        year->setGeometry(twRect(900, top, 2400, 660));
        year->setFont(designFont(kGothic, 16));
        auto* name = new QLineEdit(this);
        name->setObjectName(QStringLiteral("Text1(%1)").arg(r));
        name->setGeometry(twRect(3600, top, 7200, 660));
        // The whole 20-character field fits, trailing blanks included.
        name->setFont(designFont(kGothic, 16));
        yearFields_[std::size_t(r - 1)] = year;
        nameFields_[std::size_t(r - 1)] = name;
    }
    label(this, QStringLiteral("Label3"), QStringLiteral("※生まれた年は早生まれの場合は1年引いてください"),
          twRect(900, 5340, 12000, 480), 14);

    auto* change = new QPushButton(QStringLiteral("変更"), this);
    change->setObjectName(QStringLiteral("Command1"));
    change->setGeometry(twRect(3600, 6360, 2700, 960));
    auto* back = new QPushButton(QStringLiteral("もどる"), this);
    back->setObjectName(QStringLiteral("Command2"));
    back->setGeometry(twRect(7200, 6360, 2700, 960));
    for (QPushButton* b : {change, back}) b->setFont(designFont(kPGothic, 18, true));
    connect(change, &QPushButton::clicked, this, &RosterEditor::saveNames);
    connect(back, &QPushButton::clicked, this, &RosterEditor::goBack);

    // Under the buttons: that the names were saved.
    saved_ = label(this, QStringLiteral("LabelSaved"), QString(), twRect(900, 7420, 13500, 360), 12);
    saved_->setStyleSheet(QStringLiteral("color: #006400;"));
    // What the file holds beyond the three rows, or why it could not be read.
    note_ = label(this, QStringLiteral("LabelNote"), QString(), twRect(900, 7800, 13500, 1800), 12);
    note_->setWordWrap(true);
    note_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    note_->setStyleSheet(QStringLiteral("color: #8b0000;"));

    load();
}

QString RosterEditor::rosterPath() { return nativePath(state().dataFolder + QStringLiteral("生徒用名簿.txt")); }

void RosterEditor::message(const QString& text)
{
    const QString& title = state().contentTitle;
    services().dialogs.message(text, title.isEmpty() ? catalogue::kTitle : title);
}

void RosterEditor::load()
{
    const EditorRead read = readEditorRows(rosterPath());
    for (std::size_t i = 0; i < 3; ++i) {
        const bool present = i < read.rows.size();
        if (present && read.rows[i].readable) {
            const RosterRecord& r = read.rows[i].record;
            nameFields_[i]->setText(r.name);
            yearFields_[i]->setText(QString::number(r.birthYear));
        } else if (present) {
            nameFields_[i]->setText(read.rows[i].rawLine);
        }
        // A row the roster does not have takes a new pupil; a damaged line is
        // written back untouched.
        const bool editable = read.opened && (!present || read.rows[i].readable);
        nameFields_[i]->setEnabled(editable);
        yearFields_[i]->setEnabled(editable);
    }
    showNotes(read);
}

void RosterEditor::showNotes(const EditorRead& read)
{
    QStringList notes;
    if (!read.opened) notes << read.error + QStringLiteral("名前は変更できません。");
    for (std::size_t i = 0; i < std::min<std::size_t>(3, read.rows.size()); ++i)
        if (!read.rows[i].readable)
            notes << QStringLiteral("上から %1 番目は名簿ファイルの行が読めないため変更できません（%2）。")
                         .arg(i + 1)
                         .arg(read.rows[i].reason);
    if (read.rows.size() > 3)
        notes << QStringLiteral(
                     "名簿ファイルには %1 人分の行があります。「変更」を押すと、4 番目から後の行は名簿から消えます。")
                     .arg(read.rows.size());
    note_->setText(notes.join(u'\n'));
}

bool RosterEditor::newPupilRules(NewPupilRules& rules)
{
    // A new child must not take over the runs of a pupil who has left the
    // roster: the numbers in this title's records and in the log the titles
    // beside it share are taken.
    rules.thisYear = services().clock.today().year();
    QString error;
    if (markRecordedPupils(resultFilePath(state()), int(kResultRecordSize), 16, rules.recordedNumbers, &error) &&
        markRecordedPupils(sharedLogPath(state()), int(kSharedLogRecordSize), 38, rules.recordedNumbers, &error))
        return true;
    message(error +
            QStringLiteral(
                "\n使われている生徒番号が分からないため、新しい名前は加えられません。\n名簿は変更していません。"));
    return false;
}

void RosterEditor::saveNames()
{
    saved_->clear();
    const QString path = rosterPath();
    // The file as it is now; only the typed fields come from the screen.
    const EditorRead read = readEditorRows(path);
    if (!read.opened) {
        message(read.error + QStringLiteral("\n名簿は変更していません。"));
        return;
    }
    std::array<RowEdit, kEditorRows> edits;
    for (std::size_t i = 0; i < 3; ++i) edits[i] = {nameFields_[i]->text(), yearFields_[i]->text()};
    NewPupilRules adding;
    bool typedIntoNewRow = false;
    for (std::size_t i = read.rows.size(); i < 3; ++i)
        typedIntoNewRow |= !trimBlanks(edits[i].name).isEmpty() || !trimBlanks(edits[i].birthYear).isEmpty();
    if (typedIntoNewRow && !newPupilRules(adding)) return;
    const RosterRewrite rewrite = rewriteRoster(read.rows, edits, adding);
    if (!rewrite.error.isEmpty()) {
        message(rewrite.error);
        return;
    }
    // The old roster stays in place until the new one is complete and
    // on the disk; the message names the file and why it could not be saved.
    QString error;
    if (!writeTextFileAtomic(path, rewrite.text, &error)) {
        message(error + QStringLiteral("\n名簿は変更していません。"));
        return;
    }
    QStringList added;
    for (const RosterRecord& r : rewrite.added) added << QStringLiteral("「%1」").arg(trimBlanks(r.name));
    saved_->setText(added.isEmpty()
                        ? QStringLiteral("名前を保存しました。")
                        : QStringLiteral("名前を保存しました。%1を名簿に加えました。").arg(added.join(QString())));
    showNotes(readEditorRows(path));
}

void RosterEditor::goBack() { app().navigator.showNameSelection(); }
