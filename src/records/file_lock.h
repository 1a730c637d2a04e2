#pragma once
#include <QString>

class QFile;

// An exclusive lock on a whole open file, shared with other processes and
// other computers on the same network folder. It belongs to the open file
// (an open-file-description lock), so two opens in one process exclude each
// other too, and it is released when the file is closed, even after a crash.
// Readers take no lock; only appends do, for the time one record is written.
class WholeFileLock {
public:
    explicit WholeFileLock(QFile& file) : file_(file) {}
    ~WholeFileLock() { unlock(); }
    WholeFileLock(const WholeFileLock&) = delete;
    WholeFileLock& operator=(const WholeFileLock&) = delete;

    // Waits until the lock is held. Returns false with `error` set when the
    // file system refuses to lock.
    bool lock(QString* error);
    void unlock();
    bool held() const { return held_; }

private:
    QFile& file_;
    bool held_ = false;
};
