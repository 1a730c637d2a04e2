#pragma once
#include <QByteArray>
#include <QString>

class QFile;
struct SharedState;
struct Services;

// The result file and the shared log: where they are, the locked append of
// one record, and the storing of a finished run.

// The result file of this title and the shared log, as native paths.
QString resultFilePath(const SharedState& s);
QString sharedLogPath(const SharedState& s);
// The shared log's titleFolder: the last folder name of recordsFolder with its
// trailing "\" ("ソルメア\").
QString titleFolderName(const SharedState& s);

// The message of a run that could not be stored in the file at `path`.
QString storeFailureText(const QString& path, const QString& reason);

// Stores the current pupil's finished run (runScore) at `level`: sets
// qualified, the new-best flags and bests, and appends the record.
// Returns false when a file error ended the program.
bool storeRun(SharedState& s, Services& sv, int level);
// Appends the current run to the result file and, when applicable, the shared log.
bool appendRunRecords(SharedState& s, Services& sv);

// Opens the result file for random access (read and write), creating it
// empty when it does not exist yet. Returns false when it cannot be opened.
bool openResultFile(const SharedState& s, QFile& file);

// Appends one fixed-length record under a whole-file lock: the record goes at
// (length ÷ record size) whole records, so a torn tail is overwritten, and the
// bytes reach the file before the lock is released. When the write fails part
// of the way (a full disk), the file is cut back to where the record began
// before the lock is released: it never keeps part of a record. `error` gets
// the system's reason in Japanese (systemErrorText).
bool appendRecordLocked(const QString& path, const QByteArray& record, QString* error);

// The caption of the records' messages: the content's title, or the program's.
QString recordMessageTitle(const SharedState& s);
