#pragma once
#include <QString>

struct App;

// Keeps a second copy of the program from running on one installation: a
// kernel lock (flock) on a file in the user's runtime folder, named after the
// program folder, so that two installations on one PC do not block each
// other. The kernel drops the lock when the process ends in any way (kill -9,
// a crash, a power cut), so the next start never meets a stale lock; the
// file's content is never looked at. Held until the object is destroyed (by
// the process, for its whole life); programs started meanwhile do not
// inherit it.
class InstanceLock {
public:
    enum class Result {
        Held,          // this process holds the lock
        HeldElsewhere, // another running copy holds it
        Unavailable,   // no lock file could be opened (no folder, a folder in its place, no access):
                       // the program runs without the guard
    };
    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;
    // `lockFolder` empty: the runtime folder.
    Result acquire(const QString& nativeProgramFolder, const QString& lockFolder = {});
    QString lockFilePath() const { return path_; }
    // The lock file of an installation: the folder (empty: the runtime
    // folder, else the temporary folder) and a hash of the program folder.
    static QString pathFor(const QString& nativeProgramFolder, const QString& lockFolder = {});

private:
    void release();
    int fd_ = -1;
    QString path_;
};

// The start-up sequence: background colour, settings, first screen. Takes
// the executable's folder in native form. On a file error it shows the
// message, requests the end of the program with exit code 1 and returns false.
// With `lock`, the installation's single-instance lock is taken once here and
// the name selection screen is told when another copy holds it.
bool startUp(App& app, const QString& nativeProgramFolder, InstanceLock* lock = nullptr);
