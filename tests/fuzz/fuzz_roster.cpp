// Any bytes as 生徒用名簿.txt: the roster reader of the name selection
// screen (with and without the home edition's capacity), the line format
// read and written again, and the roster editor's reading and rewriting.
#include "fuzz_support.h"

#include "base/folder_path.h"
#include "base/text_file.h"
#include "base/text_util.h"
#include "roster/roster_edit.h"
#include "roster/roster_reader.h"
#include "roster/roster_record.h"
#include "state/shared_state.h"

namespace {

// What the editor keeps of a record when nobody edits it.
bool sameKeptFields(const RosterRecord& a, const RosterRecord& b)
{
    return a.number == b.number && a.birthYear == b.birthYear && a.spare1 == b.spare1 && a.spare2 == b.spare2 &&
           a.status() == b.status() && a.statusQuoted == b.statusQuoted;
}

void readerKeepsItsTables(const QString& folder, int statusOption, bool capacity, bool anyLine)
{
    // One state for the whole run (making one costs more than a reading):
    // entries of numbers a file does not hold keep their values, as they do
    // in the program between readings.
    static SharedState s;
    s.dataFolder = folder;
    s.rosterFileMode = 1;
    s.schoolYearStartMonth = 4;
    s.rosterStatusOption = statusOption;
    int listed = 0;
    const RosterReadResult r = readRosterTables(s, QDate(2026, 12, 8), capacity,
                                                [&](const RosterRecord& rec, const QString& code) {
                                                    ++listed;
                                                    FUZZ_CHECK(rec.number >= 1 && rec.number <= 5000);
                                                    FUZZ_CHECK(rec.name.size() == kRosterTextWidth);
                                                    FUZZ_CHECK(code.size() == 2);
                                                    FUZZ_CHECK(s.roster.names[std::size_t(rec.number)] == rec.name);
                                                });
    if (r.capacityExceeded) {
        FUZZ_CHECK(capacity && listed <= 3);
        return;
    }
    // A file without a line is said to be empty; one with lines is read.
    FUZZ_CHECK(r.missingNote.isEmpty() == anyLine);
    FUZZ_CHECK(s.roster.count == listed);
    FUZZ_CHECK(!capacity || listed <= 3);
    for (int p = 1; p <= s.roster.count; ++p) {
        const int n = s.roster.order[std::size_t(p)];
        FUZZ_CHECK(n >= 1 && n <= 5000);
    }
}

// A line as this program writes it reads back to the same record, and is
// written the same again.
void lineFormatIsStable(const QString& line)
{
    RosterRecord r;
    if (!parseRosterLine(line, r)) return;
    const QString written = rosterLine(r);
    RosterRecord again;
    QString reason;
    FUZZ_CHECK(parseRosterLine(written, again, &reason));
    FUZZ_CHECK(sameKeptFields(r, again));
    FUZZ_CHECK(rosterLine(again) == written);
}

// "変更" with the rows as the file holds them: the file read again keeps
// every record's fields, and a second "変更" writes the same bytes.
void unchangedEditKeepsTheFile(const QString& path, const QString& copyPath)
{
    const EditorRead read = readEditorRows(path);
    FUZZ_CHECK(read.opened);
    std::array<RowEdit, kEditorRows> edits;
    for (std::size_t i = 0; i < edits.size() && i < read.rows.size(); ++i)
        if (read.rows[i].readable)
            edits[i] = {read.rows[i].record.name, QString::number(read.rows[i].record.birthYear)};
    const RosterRewrite first = rewriteRoster(read.rows, edits);
    if (!first.error.isEmpty()) return;
    const QByteArray bytes = encodeCp932(first.text);
    FUZZ_CHECK(decodeCp932(bytes) == first.text); // nothing became "?"
    writeFile(copyPath, bytes);

    const EditorRead reread = readEditorRows(copyPath);
    FUZZ_CHECK(reread.rows.size() == std::min<std::size_t>(read.rows.size(), kEditorRows));
    for (std::size_t i = 0; i < reread.rows.size(); ++i) {
        const EditorRow& was = read.rows[i];
        const EditorRow& now = reread.rows[i];
        FUZZ_CHECK(was.readable == now.readable);
        if (!was.readable) {
            FUZZ_CHECK(now.rawLine == was.rawLine);
            continue;
        }
        FUZZ_CHECK(sameKeptFields(was.record, now.record));
        FUZZ_CHECK(now.record.name == fixedWidth(trimBlanks(was.record.name), kRosterTextWidth));
    }
    const RosterRewrite second = rewriteRoster(reread.rows, edits);
    FUZZ_CHECK(second.error.isEmpty());
    FUZZ_CHECK(second.text == first.text);
}

// "変更" with names and years typed as the input's first lines say (read as
// UTF-8, so any character can be typed): refused with a message, or the file
// read again holds exactly what was typed, trimmed and cut to its field.
void typedEditIsStoredAsTyped(const QString& path, const QString& copyPath, const QByteArray& bytes)
{
    const EditorRead read = readEditorRows(path);
    const QList<QByteArray> typed = bytes.split('\n');
    std::array<RowEdit, kEditorRows> edits;
    for (std::size_t i = 0; i < edits.size(); ++i) {
        QString t = QString::fromUtf8(typed.value(qsizetype(i)));
        if (t.endsWith(u'\r')) t.chop(1);
        edits[i] = {t, t.mid(t.size() / 2)};
    }
    const RosterRewrite rewrite = rewriteRoster(read.rows, edits);
    if (!rewrite.error.isEmpty()) return;
    writeFile(copyPath, encodeCp932(rewrite.text));
    const EditorRead reread = readEditorRows(copyPath);
    FUZZ_CHECK(reread.rows.size() == std::min<std::size_t>(read.rows.size(), kEditorRows));
    for (std::size_t i = 0; i < reread.rows.size(); ++i) {
        if (!read.rows[i].readable) continue;
        QString error;
        const QString name = editedName(edits[i].name, int(i) + 1, &error);
        const qint16 year = editedBirthYear(edits[i].birthYear, int(i) + 1, &error);
        FUZZ_CHECK(error.isEmpty());
        FUZZ_CHECK(reread.rows[i].readable);
        FUZZ_CHECK(reread.rows[i].record.name == fixedWidth(name, kRosterTextWidth).left(kRosterTextWidth));
        FUZZ_CHECK(reread.rows[i].record.birthYear == year);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString folder = toFolderString(scratchFolder().path()) + u'\\';
    const QString path = scratchFolder().filePath(QStringLiteral("生徒用名簿.txt"));
    const QByteArray bytes = inputBytes(data, size);
    writeFile(path, bytes);

    bool anyLine = false;
    for (QString line : decodeTextFile(bytes).split(u'\n')) {
        if (line.endsWith(u'\r')) line.chop(1);
        anyLine = anyLine || !trimBlanks(line).isEmpty();
        lineFormatIsStable(line);
    }
    readerKeepsItsTables(folder, 0, false, anyLine);
    readerKeepsItsTables(folder, 1, false, anyLine);
    readerKeepsItsTables(folder, 0, true, anyLine);
    unchangedEditKeepsTheFile(path, scratchFolder().filePath(QStringLiteral("rewritten.txt")));
    typedEditIsStoredAsTyped(path, scratchFolder().filePath(QStringLiteral("typed.txt")), bytes);
    return 0;
}
