#pragma once
#include <QByteArray>
#include <QtGlobal>

class QFile;
struct SharedState;
struct Services;

// Loading the result file for the screens: opening it with retries, reading
// its newest records in chunks, and the message when that fails.

constexpr qint64 kLoadWindow = 20000; // only the newest records are loaded

// Loads the newest 20 000 usable records and the bests.
bool loadRecentRecords(SharedState& s, Services& sv);
// Loads the records and computes every counter. Returns false when the
// program is ending (a loader failure).
bool loadRecordsAndCounts(SharedState& s, Services& sv);

// The newest `window` whole records of an open result file, read into one
// buffer (for the lists, which go through them more than once).
struct ResultTail {
    QByteArray bytes; // `count` records of 44 bytes
    qint64 count = 0;
    qint64 firstRecord = 1;  // record number of the first one
    qint64 totalRecords = 0; // whole records in the file
};
bool readResultTail(QFile& file, qint64 window, ResultTail& tail, QString* error);
