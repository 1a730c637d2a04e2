#pragma once
#include <QByteArray>
#include <QList>
#include <QString>

// Faults in the installation's text files that the program reads past without
// a word: the solmea-records tool lists them for the teacher. Lines count
// from 1; a line ends at CR LF, CR or LF, as the list reader takes them.
// Nothing after a Ctrl-Z is part of a file.
struct TextFileFinding {
    int line = 0;
    QString text; // Japanese, what is wrong and what it does
    bool operator==(const TextFileFinding&) const = default;
};

// A UTF-8 byte-order mark at the start, and every line holding a byte that is
// not valid code page 932 (the program reads such a byte as "�").
QList<TextFileFinding> encodingFindings(const QByteArray& bytes);

// Rows of the level table (as decoded for reading) whose line holds other
// than twelve values, counted by the list-input rules. The program reads the
// values as one stream, so such a row shifts every value after it. Only the
// rows the program reads (levels 0–35) are looked at.
QList<TextFileFinding> levelTableRowFindings(const QString& text);
