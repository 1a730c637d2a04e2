#pragma once
#include "roster/roster_record.h"

#include <QString>
#include <QStringList>
#include <array>
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
    QString error;              // why the file could not be read
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
    QString text;  // CR LF lines, code page 932 safe
    QString error; // non-empty: nothing may be written
};
// Rows 1–3 take the typed name (trimmed, held in 20 characters) and birth
// year; every other field is written back as read. Rows past the third are
// dropped; rows the file does not have are not invented.
RosterRewrite rewriteRoster(const std::vector<EditorRow>& rows, const std::array<RowEdit, kEditorRows>& edits);

// The name as it will be stored, or an error naming `row` (1-based) and the
// character the roster cannot hold. Look-alikes that input methods produce
// (〜 U+301C, − U+2212) become the characters code page 932 has.
QString editedName(const QString& typed, int row, QString* error);
// The birth year as it will be stored: the leading number of the text (after
// full-width digits are read as digits), to the nearest whole number; 0 for a
// text without one. Sets `error` when it does not fit a 16-bit number.
qint16 editedBirthYear(const QString& typed, int row, QString* error);
