#include "program/startup.h"

#include "base/file_error.h"
#include "base/folder_path.h"
#include "base/user_preferences.h"
#include "program/navigation.h"
#include "records/record_file_check.h"
#include "sound/sound_list.h"
#include "state/catalogue.h"
#include "state/settings.h"
#include "ui/app.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

InstanceLock::~InstanceLock() { release(); }

void InstanceLock::release()
{
    if (fd_ >= 0) ::close(fd_); // closing the last descriptor drops the lock
    fd_ = -1;
}

QString InstanceLock::pathFor(const QString& nativeProgramFolder, const QString& lockFolder)
{
    QString folder = lockFolder;
    if (folder.isEmpty()) folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) folder = QDir::tempPath();
    QString key = QFileInfo(nativeProgramFolder).canonicalFilePath();
    if (key.isEmpty()) key = QDir::cleanPath(QDir(nativeProgramFolder).absolutePath());
    const QByteArray hash = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return folder + QStringLiteral("/solmea-") + QString::fromLatin1(hash) + QStringLiteral(".lock");
}

InstanceLock::Result InstanceLock::acquire(const QString& nativeProgramFolder, const QString& lockFolder)
{
    release();
    path_ = pathFor(nativeProgramFolder, lockFolder);
    const QByteArray name = QFile::encodeName(path_);
    // O_CLOEXEC: the program menu started on the way out must not inherit
    // the lock and keep it after this process has ended.
    int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    // A lock file this user may only read (left by another account) still
    // takes the lock: flock needs no write access.
    if (fd < 0 && errno == EACCES) fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return Result::Unavailable;
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc == 0) {
        fd_ = fd;
        return Result::Held;
    }
    const int error = errno;
    ::close(fd);
    return error == EWOULDBLOCK ? Result::HeldElsewhere : Result::Unavailable;
}

bool startUp(App& app, const QString& nativeProgramFolder, InstanceLock* lock)
{
    SharedState& s = app.state;
    s.backgroundColour = 0x008080;
    s.programFolder = toFolderString(nativeProgramFolder);
    s.sound.on = user_preferences::soundOn();
    // An installation that cannot play the answer cues or store a run is
    // refused now, before a child plays a run it would lose.
    try {
        loadSettings(s);
        if (s.sound.on) checkAnswerCues(s);
    } catch (const FileError& e) {
        app.services.dialogs.message(e.message(), catalogue::kTitle + QStringLiteral(" - 起動できません"));
        app.services.end.request(1);
        return false;
    }
    if (const std::optional<QString> refusal = recordFilesRefusal(s)) {
        app.services.dialogs.message(*refusal, s.contentTitle);
        app.services.end.request(1);
        return false;
    }
    const bool anotherCopy = lock && lock->acquire(nativeProgramFolder) == InstanceLock::Result::HeldElsewhere;
    showNameSelection(app, anotherCopy);
    return true;
}
