#include "records/file_lock.h"

#include "base/file_error.h"

#include <QFile>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#endif

#ifdef Q_OS_WIN
namespace {
HANDLE osHandle(QFile& f) { return reinterpret_cast<HANDLE>(_get_osfhandle(f.handle())); }
QString lastErrorText() { return QStringLiteral("エラー %1").arg(GetLastError()); }
} // namespace

bool WholeFileLock::lock(QString* error)
{
    if (held_) return true;
    OVERLAPPED ov{};
    if (!LockFileEx(osHandle(file_), LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &ov)) {
        if (error) *error = lastErrorText();
        return false;
    }
    held_ = true;
    return true;
}

void WholeFileLock::unlock()
{
    if (!held_) return;
    OVERLAPPED ov{};
    UnlockFileEx(osHandle(file_), 0, MAXDWORD, MAXDWORD, &ov);
    held_ = false;
}
#else
namespace {
int setLock(int fd, short type, int command)
{
    struct flock fl;
    std::memset(&fl, 0, sizeof fl);
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = 0;
    fl.l_len = 0; // to the end of the file, however far it grows
    int rc;
    do rc = ::fcntl(fd, command, &fl);
    while (rc == -1 && errno == EINTR);
    return rc;
}
} // namespace

bool WholeFileLock::lock(QString* error)
{
    if (held_) return true;
    if (setLock(file_.handle(), F_WRLCK, F_OFD_SETLKW) == -1) {
        if (error) *error = systemErrorText(errno);
        return false;
    }
    held_ = true;
    return true;
}

void WholeFileLock::unlock()
{
    if (!held_) return;
    setLock(file_.handle(), F_UNLCK, F_OFD_SETLK);
    held_ = false;
}
#endif
