#pragma once
#include <QString>
#include <exception>

// A data file that cannot be read as the program needs it. The message names
// the file, its full path and what is wrong, in Japanese.
class FileError : public std::exception {
public:
    FileError(QString fileName, QString path, QString reason)
        : fileName_(std::move(fileName)), path_(std::move(path)), reason_(std::move(reason)) {}
    const QString& fileName() const { return fileName_; }
    const QString& path() const { return path_; }
    const QString& reason() const { return reason_; }
    QString message() const;
    const char* what() const noexcept override { return "file error"; }

private:
    QString fileName_, path_, reason_;
};
