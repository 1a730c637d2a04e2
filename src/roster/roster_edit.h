#pragma once
#include "roster/roster_record.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

// The roster editor's reading and rewriting of 生徒用名簿.txt, free of screens.

// The rows the editor offers: the first three records of the file.
constexpr int kEditorRows = 3;

// One record of the file as the editor reads it: the r-th line that is not
// blank, whatever its status.
struct EditorRow {
    bool readable = false; // false: a damaged line, written back as it was
    RosterRecord record;
    QString rawLine;
    QString reason; // why a damaged line could not be read
};

struct EditorRead {
    bool opened = false;
    QString error;               // why the file could not be read
    std::vector<EditorRow> rows; // every record of the file, in file order
};
EditorRead readEditorRows(const QString& path);

// What was typed in one row of the screen.
struct RowEdit {
    QString name;      // Text1(r)
    QString birthYear; // Text2(r)
};

// The new content of the file, or the message that refuses the change.
struct RosterRewrite {
    QString text;                    // CR LF lines, code page 932 safe
    QString error;                   // non-empty: nothing may be written
    std::vector<RosterRecord> added; // the records of new pupils, in row order
};

// What a new pupil needs: the numbers that pupils' runs already carry, so
// that a new child never inherits them, and the current year, which bounds
// a plausible birth year. A year of 0 turns adding off.
struct NewPupilRules {
    std::vector<bool> recordedNumbers; // indexed by pupil number; missing entries are free
    int thisYear = 0;
};

// Rows 1–3 take the typed name (trimmed, held in 20 characters) and birth
// year; every other field is written back as read. Rows past the third are
// dropped. A row the file does not have becomes a new record after the
// existing ones when a name is typed into it (see newPupil); with adding
// off, or with neither name nor year typed, it writes nothing.
RosterRewrite rewriteRoster(const std::vector<EditorRow>& rows, const std::array<RowEdit, kEditorRows>& edits,
                            const NewPupilRules& adding = {});

// The record of a pupil typed into an empty row: the lowest number from 1
// that neither `taken` (the roster's and other new rows' numbers) nor the
// recorded numbers hold, the typed birth year, an empty status, the spare
// fields as this program writes them. Refuses, naming `row`, a name without
// a year or a year that is not four digits between 1900 and this year (a
// trailing "年" and full-width digits are allowed).
std::optional<RosterRecord> newPupil(const RowEdit& typed, int row, const std::vector<bool>& taken,
                                     const NewPupilRules& rules, QString* error);

// Marks in `numbers` the pupil number of every whole record of a file of
// runs (`recordSize` bytes each, the number a little-endian 16-bit value at
// `numberOffset`). A file that does not exist marks nothing; one that cannot
// be read gives false and the reason.
bool markRecordedPupils(const QString& path, int recordSize, int numberOffset, std::vector<bool>& numbers,
                        QString* error);

// The name as it will be stored, or an error naming `row` (1-based) and the
// character the roster cannot hold. Look-alikes that input methods produce
// (〜 U+301C, − U+2212) become the characters code page 932 has.
QString editedName(const QString& typed, int row, QString* error);
// The birth year as it will be stored: the leading number of the text (after
// full-width digits are read as digits), to the nearest whole number; 0 for a
// text without one. Sets `error` when it does not fit a 16-bit number.
qint16 editedBirthYear(const QString& typed, int row, QString* error);
