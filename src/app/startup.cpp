#include "app/startup.h"

#include "app/app.h"
#include "app/catalogue.h"
#include "app/dispatch.h"
#include "app/file_error.h"
#include "app/folder_path.h"
#include "app/settings.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

InstanceLock::InstanceLock() = default;
InstanceLock::~InstanceLock() = default;

InstanceLock::Result InstanceLock::acquire(const QString& nativeProgramFolder, const QString& lockFolder)
{
    QString folder = lockFolder;
    if (folder.isEmpty()) folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) folder = QDir::tempPath();
    QString key = QFileInfo(nativeProgramFolder).canonicalFilePath();
    if (key.isEmpty()) key = QDir::cleanPath(QDir(nativeProgramFolder).absolutePath());
    const QByteArray hash = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    path_ = folder + QStringLiteral("/solmea-") + QString::fromLatin1(hash) + QStringLiteral(".lock");

    lock_ = std::make_unique<QLockFile>(path_);
    // The lock is held for hours: only a dead holder makes it stale.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0)) return Result::Held;
    const QLockFile::LockError error = lock_->error();
    lock_.reset();
    return error == QLockFile::LockFailedError ? Result::HeldElsewhere : Result::Unavailable;
}

bool startUp(App& app, const QString& nativeProgramFolder, InstanceLock* lock)
{
    SharedState& s = app.state;
    s.backgroundColour = 0x008080;
    s.programFolder = toFolderString(nativeProgramFolder);
    try {
        loadSettings(s);
    } catch (const FileError& e) {
        app.services.dialogs.message(e.message(), catalogue::kTitle + QStringLiteral(" - 起動できません"));
        app.services.end.request(1);
        return false;
    }
    const bool anotherCopy = lock && lock->acquire(nativeProgramFolder) == InstanceLock::Result::HeldElsewhere;
    showNameSelection(app, anotherCopy);
    return true;
}
