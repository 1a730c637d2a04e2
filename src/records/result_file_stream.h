#pragma once
#include <QByteArray>
#include <QString>
#include <QtGlobal>

class QFile;

// Whole result records read front to back a chunk at a time, so that a file
// of any size is gone through in a fixed amount of memory (the records tool
// reads files of millions of records; the program itself only loads the
// newest ones).
constexpr qint64 kResultChunkRecords = 4096;

// The length of an open file, asked of the file system now: another PC may
// have appended since it was opened. -1 when the file system cannot say.
qint64 fileLengthNow(QFile& file);

class ResultFileStream {
public:
    // Measures the open file now: the records appended after this are not
    // read, a partial record at the end never is. With `newest` at 0 or more
    // only that many of the last records are read.
    explicit ResultFileStream(QFile& file, qint64 chunkRecords = kResultChunkRecords, qint64 newest = -1);

    // False when the length could not be measured (see error()).
    bool ok() const { return error_.isEmpty(); }
    const QString& error() const { return error_; }
    qint64 totalRecords() const { return totalRecords_; }
    qint64 trailingBytes() const { return trailingBytes_; }

    // The next chunk: `count` records of 44 bytes at `bytes`, the first of them
    // record number `firstRecord`. False at the end, and on a read error (then
    // error() says why). A file cut short meanwhile ends after its last whole
    // record.
    bool next();
    const char* bytes() const { return buffer_.constData(); }
    qint64 count() const { return count_; }
    qint64 firstRecord() const { return firstRecord_; }

    // The number of the first record read (1 for the whole file).
    qint64 startRecord() const { return startIndex_ + 1; }
    // Back to the first record, for a second pass over the same records.
    bool rewind();

private:
    QFile& file_;
    qint64 chunkRecords_;
    QByteArray buffer_;
    QString error_;
    qint64 totalRecords_ = 0, trailingBytes_ = 0;
    qint64 startIndex_ = 0; // 0-based index of the first record read
    qint64 nextRecord_ = 0; // 0-based index of the next record to read
    qint64 count_ = 0, firstRecord_ = 1;
};
