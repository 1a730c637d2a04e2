#pragma once
#include <QString>
#include <memory>

struct App;
class QLockFile;

// Keeps a second copy of the program from running on one installation: a
// lock file in the user's runtime folder, named after the program folder, so
// that two installations on one PC do not block each other. Held until the
// object is destroyed (by the process, for its whole life).
class InstanceLock {
public:
    enum class Result {
        Held,          // this process holds the lock
        HeldElsewhere, // another running copy holds it
        Unavailable,   // the lock could not be made (no such folder, read-only): not a second copy
    };
    InstanceLock();
    ~InstanceLock();
    // `lockFolder` empty: the runtime folder.
    Result acquire(const QString& nativeProgramFolder, const QString& lockFolder = {});
    QString lockFilePath() const { return path_; }

private:
    std::unique_ptr<QLockFile> lock_;
    QString path_;
};

// The start-up sequence: background colour, settings, first screen. Takes
// the executable's folder in native form. On a file error it shows the
// message, requests the end of the program with exit code 1 and returns false.
// With `lock`, the installation's single-instance lock is taken once here and
// the name selection screen is told when another copy holds it.
bool startUp(App& app, const QString& nativeProgramFolder, InstanceLock* lock = nullptr);
