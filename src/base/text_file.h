#pragma once
#include <QByteArray>
#include <QString>
#include <optional>

// Code page 932, mapped exactly as Windows maps it (glibc's iconv "CP932"):
// 0x00–0x7F are ASCII (0x5C is "\\", 0x1A and 0x7F are themselves), 0x817C is
// U+FF0D, the NEC and IBM extension rows are included. A byte that does not
// start a valid character decodes as U+FFFD, an ordinary visible character,
// and decoding goes on with the next byte.
QString decodeCp932(const QByteArray& bytes);
// Characters code page 932 cannot hold are written as "?"; check first with
// cp932FirstUnencodable where that would lose something.
QByteArray encodeCp932(const QString& text);
// The index of the first character of `text` that code page 932 cannot hold
// (a surrogate pair counts from its first half), or -1 when every one can. A
// character written as another's code (U+00A5 "¥" as 0x5C "\") counts as
// one it cannot hold: it would read back as the other.
qsizetype cp932FirstUnencodable(const QString& text);
// Whether decoding `bytes` met a byte that is not valid code page 932; when it
// did, `offset` receives the first such byte's position.
bool cp932HasInvalidBytes(const QByteArray& bytes, qsizetype* offset = nullptr);

// A text file's content: everything before the first Ctrl-Z (0x1A, which old
// editors append and which is never part of a double-byte character), decoded.
QString decodeTextFile(const QByteArray& bytes);

// Reads a whole text file and decodes it. Throws FileError (naming
// `displayName` and `path`) when the file is missing or cannot be read.
QString readTextFile(const QString& path, const QString& displayName);
// As above, but returns nothing when the file does not exist or cannot be opened.
std::optional<QString> tryReadTextFile(const QString& path);

// Replaces a whole file atomically (replaceFileAtomic): a crash or a full disk
// leaves the old file or the new one, never a mixture. Returns false with
// `error` set to a message naming the file and the reason.
bool writeTextFileAtomic(const QString& path, const QString& text, QString* error = nullptr);

// One value read by the list-input convention.
struct ListValue {
    QString text;        // without quotes; unquoted values have blanks trimmed
    bool quoted = false; // the value was written in double quotes
    bool empty() const { return !quoted && text.isEmpty(); }
};

// List input: values are separated by commas or line ends, a value in double
// quotes may hold commas, blanks around a value are skipped, an empty numeric
// value reads as 0 and a number takes the leading number of its text. Blank
// lines between records are skipped. The file has ended when only blanks and
// line ends remain, so a trailing empty line changes nothing. Reading past the
// end throws FileError naming the file.
class ListReader {
public:
    ListReader(QString text, QString displayName, QString path);

    bool atEnd() const;
    ListValue readValue();
    QString readText() { return readValue().text; }
    double readNumber();
    // Whole-number values saturate to the type's range instead of wrapping.
    qint32 readInt32();
    qint16 readInt16();
    int valuesRead() const { return valuesRead_; }
    // Where reading goes on, and whether the last value read ended its line:
    // enough for a checker to relate values to the lines that hold them.
    qsizetype position() const { return pos_; }
    bool lastValueEndedLine() const { return lineStart_; }
    const QString& displayName() const { return displayName_; }
    const QString& path() const { return path_; }

private:
    bool atLineEnd(qsizetype i) const;
    qsizetype skipLineEnd(qsizetype i) const;

    QString text_, displayName_, path_;
    qsizetype pos_ = 0;
    bool lineStart_ = true; // the previous value ended at a line end (or none was read yet)
    int valuesRead_ = 0;
};

// The matching list output for one line: numbers plain, texts in quotes.
QString listQuote(const QString& text);
