#include "base/file_write.h"

#include "base/file_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kTemporarySuffix = 6;
constexpr char kTemporaryLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

bool isAsciiLetterOrDigit(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

// `entry` is fileName + "." + six letters or digits, and nothing else.
bool isOwnTemporary(const QString& entry, const QString& fileName)
{
    if (entry.size() != fileName.size() + 1 + kTemporarySuffix || !entry.startsWith(fileName + u'.')) return false;
    for (const QChar c : entry.last(kTemporarySuffix))
        if (!isAsciiLetterOrDigit(c)) return false;
    return true;
}

// An exclusive lock on the open file without waiting (an open-file-
// description lock: it dies with the program that holds it).
bool tryLock(int fd)
{
    struct flock fl {};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    return ::fcntl(fd, F_OFD_SETLK, &fl) == 0;
}

// Temporary files of a killed replacement. A failure to remove one changes
// nothing for the file being saved.
void removeLeftovers(const QString& folder, const QString& fileName)
{
    const QDir dir(folder);
    for (const QString& entry : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (!isOwnTemporary(entry, fileName)) continue;
        const QByteArray path = QFile::encodeName(dir.filePath(entry));
        const int fd = ::open(path.constData(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0) continue;
        if (tryLock(fd)) ::unlink(path.constData()); // nobody is writing it
        ::close(fd);
    }
}

// Creates a new temporary file beside `path`. Returns the descriptor, or -1
// with errno set.
int createTemporary(const QString& path, QByteArray* temporary)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        QString name = path + u'.';
        for (int i = 0; i < kTemporarySuffix; ++i)
            name += QLatin1Char(
                kTemporaryLetters[QRandomGenerator::global()->bounded(int(sizeof kTemporaryLetters) - 1)]);
        *temporary = QFile::encodeName(name);
        const int fd = ::open(temporary->constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

int syncData(int fd)
{
    int rc;
    do rc = ::fdatasync(fd);
    while (rc == -1 && errno == EINTR);
    return rc == 0 ? 0 : errno;
}

// Makes the rename itself durable. The new content is complete on the disk by
// now, so a folder that cannot be synced (some network file systems) is no
// reason to call the replacement failed.
void syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

int writeAll(int fd, const char* data, qint64 size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, std::size_t(size));
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (n == 0) return ENOSPC;
        data += n;
        size -= n;
    }
    return 0;
}

bool replaceFileAtomic(const QString& path, const QByteArray& bytes, QString* error)
{
    const QFileInfo info(path);
    const QString folder = info.absolutePath();
    auto fail = [&](int errnum) {
        if (error)
            *error = QStringLiteral("ファイル「%1」を保存できません。\n場所：%2\n理由：%3")
                         .arg(info.fileName(), QDir::toNativeSeparators(folder), systemErrorText(errnum));
        return false;
    };
    removeLeftovers(folder, info.fileName());

    QByteArray temporary;
    const int fd = createTemporary(info.absoluteFilePath(), &temporary);
    if (fd < 0) return fail(errno);
    tryLock(fd); // tells another program's clean-up that this one is in use
    struct stat old {};
    if (::stat(QFile::encodeName(path).constData(), &old) == 0) ::fchmod(fd, old.st_mode & 07777);

    int failure = writeAll(fd, bytes.constData(), bytes.size());
    if (failure == 0) failure = syncData(fd);
    if (failure == 0 && ::rename(temporary.constData(), QFile::encodeName(path).constData()) != 0) failure = errno;
    if (failure != 0) {
        ::unlink(temporary.constData());
        ::close(fd);
        return fail(failure);
    }
    ::close(fd); // after the rename: the lock covers the temporary name to the end
    syncFolder(folder);
    return true;
}
