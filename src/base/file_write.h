#pragma once
#include <QByteArray>
#include <QString>

// Writing files so that a full or failing disk never costs what they held.

// Writes all of `size` bytes at the descriptor's position, going on after a
// short write or an interrupted call. Returns 0, or the system error (errno)
// that stopped it; a write that makes no progress counts as a full disk.
int writeAll(int fd, const char* data, qint64 size);

// Replaces the whole file at `path` with `bytes`, so that a crash, a full
// disk or a failing disk leaves the old file or the new one, each complete.
//
// The new content goes into a temporary file beside it, named after the file,
// a dot and six letters or digits ("生徒用名簿.txt.a1B2c3", created
// exclusively and locked while it is written). It is written whole, synced to
// the disk (fdatasync) and only then renamed over the file; the folder is
// synced after the rename, so that the new name survives a power cut. When a
// step fails the temporary file is removed and the old file is left as it
// was. Temporary files of exactly this pattern left behind by a killed
// program are removed at the next replacement of the same file; one that a
// running program holds locked is left alone. The new file keeps the old
// one's permissions.
//
// Returns false with `error` set to a Japanese message naming the file, its
// folder and the reason ("ディスクの空きがありません").
bool replaceFileAtomic(const QString& path, const QByteArray& bytes, QString* error = nullptr);
