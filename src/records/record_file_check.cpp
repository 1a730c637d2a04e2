#include "records/record_file_check.h"

#include "base/file_error.h"
#include "records/record_file.h"
#include "state/shared_state.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

std::optional<QString> appendBlocker(const QString& path)
{
    int fd;
    do {
        fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    } while (fd < 0 && errno == EINTR);
    if (fd >= 0) {
        ::close(fd);
        return std::nullopt;
    }
    int error = errno;
    if (error == ENOENT) {
        // Not there yet: the first run creates it (where a dangling link
        // points), which needs a folder this user may add files to.
        const QFileInfo info(path);
        const QString file = info.isSymLink() ? info.symLinkTarget() : info.absoluteFilePath();
        const QByteArray folder = QFile::encodeName(QFileInfo(file).absolutePath());
        if (::access(folder.constData(), W_OK | X_OK) == 0) return std::nullopt;
        error = errno;
    }
    return systemErrorText(error);
}

std::optional<QString> recordFilesRefusal(const SharedState& s)
{
    QStringList paths{resultFilePath(s)};
    // The same rule as the append: the shared log takes the roster's pupils.
    if (s.rosterFileMode == 1) paths << sharedLogPath(s);
    for (const QString& path : paths)
        if (const std::optional<QString> reason = appendBlocker(path)) return storeFailureText(path, *reason);
    return std::nullopt;
}
