#pragma once
#include <QIODevice>
#include <QString>
#include <exception>

class QFile;
class QFileDevice;

// A data file that cannot be read as the program needs it. The message names
// the file, its full path and what is wrong, in Japanese.
class FileError : public std::exception {
public:
    FileError(QString fileName, QString path, QString reason)
        : fileName_(std::move(fileName)), path_(std::move(path)), reason_(std::move(reason))
    {}
    const QString& fileName() const { return fileName_; }
    const QString& path() const { return path_; }
    const QString& reason() const { return reason_; }
    QString message() const;
    const char* what() const noexcept override { return "file error"; }

private:
    QString fileName_, path_, reason_;
};

// Whether the failed operation read or wrote: a refused permission reads
// differently for each.
enum class FileAccess { Read, Write };

// Why a system call failed, for every file message of the program: the common
// reasons in Japanese ("ディスクの空きがありません"), the others as the
// system words them, with the error number. Never an empty or unknown text.
QString systemErrorText(int errnum, FileAccess access = FileAccess::Write);
// Why an operation on `file` failed: `errnum` (errno right after the call,
// cleared before it) when the call left one, otherwise the file's own text.
QString fileErrorText(int errnum, const QFileDevice& file, FileAccess access = FileAccess::Write);
// Opens `file`; when it cannot, returns false with `reason` set (fileErrorText).
bool openWithReason(QFile& file, QIODevice::OpenMode mode, QString* reason);
