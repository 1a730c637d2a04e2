#pragma once
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

// A 64 KiB tmpfs over `folder` (its files hidden meanwhile) for one test, in
// a mount namespace of the test program's own: gone when the program ends.
// Needs root; `failure` says why it cannot be mounted.
struct SmallDisk {
    QByteArray folder;
    QString failure;
    explicit SmallDisk(const QString& over) : folder(QFile::encodeName(over))
    {
        static const int refused = ::unshare(CLONE_NEWNS) == 0 &&
                                           ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0
                                       ? 0
                                       : errno;
        errno = refused;
        if (refused || ::mount("tmpfs", folder.constData(), "tmpfs", 0, "size=64k") != 0)
            failure = QStringLiteral("cannot mount a small file system here (needs root): %1")
                          .arg(std::strerror(errno));
    }
    ~SmallDisk()
    {
        if (failure.isEmpty()) ::umount2(folder.constData(), MNT_DETACH);
    }
    // A filler file takes every free block, then gives `freeBytes` back.
    bool fill(qint64 freeBytes = 0) const
    {
        const int fd = ::open((folder + "/filler").constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
        static const char block[4096] = {};
        qint64 size = 0;
        for (ssize_t n; fd >= 0 && (n = ::write(fd, block, sizeof block)) > 0;) size += n;
        const bool full = errno == ENOSPC && ::ftruncate(fd, std::max<qint64>(0, size - freeBytes)) == 0;
        ::close(fd);
        return full;
    }
    bool makeReadOnly() const
    {
        return ::mount(nullptr, folder.constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }
};
