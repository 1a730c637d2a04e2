#include "records/record_file.h"

#include "base/file_error.h"
#include "base/file_write.h"
#include "base/folder_path.h"
#include "records/file_lock.h"
#include "records/record_format.h"
#include "records/record_tables.h"
#include "records/result_file_stream.h"
#include "state/catalogue.h"
#include "state/services.h"
#include "state/shared_state.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <unistd.h>

QString recordMessageTitle(const SharedState& s)
{
    return s.contentTitle.isEmpty() ? catalogue::kTitle : s.contentTitle;
}

namespace {

bool storeFailed(const SharedState& s, Services& sv, const QString& path, const QString& error)
{
    sv.dialogs.message(storeFailureText(path, error), recordMessageTitle(s));
    sv.end.request(1);
    return false;
}

// A run the loader would not use must not be stored either: it would be lost
// silently, or (a negative time) become a best nobody can beat.
bool storableRun(const SharedState& s, Services& sv, int level)
{
    if (s.pupilNumber >= 1 && s.pupilNumber < kPupilCount && level >= 1 && level < kLevelCount && s.runScore >= 0)
        return true;
    sv.dialogs.message(QStringLiteral("この成績は記録できません（生徒番号 %1、レベル %2、タイム %3）。\r\n"
                                      "生徒番号は 1～5000、レベルは 1～35 でなければなりません。")
                           .arg(s.pupilNumber)
                           .arg(level)
                           .arg(s.runScore),
                       recordMessageTitle(s));
    return false;
}

} // namespace

QString storeFailureText(const QString& path, const QString& reason)
{
    return QStringLiteral("成績を記録できません。\r\n場所：%1\r\n理由：%2").arg(QDir::toNativeSeparators(path), reason);
}

QString resultFilePath(const SharedState& s)
{
    return nativePath(s.recordsFolder + QStringLiteral("成績累積データ.dat"));
}
QString sharedLogPath(const SharedState& s)
{
    return nativePath(s.dataFolder + QStringLiteral("成績累積データ家庭用.dat"));
}

QString titleFolderName(const SharedState& s)
{
    QString folder = s.recordsFolder;
    if (folder.endsWith(u'\\')) folder.chop(1);
    return lastFolderComponent(folder) + u'\\';
}

bool openResultFile(const SharedState& s, QFile& file)
{
    file.setFileName(resultFilePath(s));
    return file.open(QIODevice::ReadWrite | QIODevice::Unbuffered);
}

bool appendRecordLocked(const QString& path, const QByteArray& record, QString* error)
{
    QFile f(path);
    if (!openWithReason(f, QIODevice::ReadWrite | QIODevice::Unbuffered, error)) return false;
    WholeFileLock lock(f);
    if (!lock.lock(error)) return false;
    // The length is read under the lock: another PC's record written just
    // before counts, and no other PC can write at the same place meanwhile.
    const qint64 length = fileLengthNow(f);
    if (length < 0) {
        if (error) *error = systemErrorText(errno, FileAccess::Read);
        return false;
    }
    const qint64 at = length / record.size() * record.size();
    // The system's calls on the open file: a short write is continued, and a
    // failure is known by the system's own reason. The bytes are in the file
    // when they return, before the lock is released.
    const int fd = f.handle();
    int failure = ::lseek(fd, at, SEEK_SET) < 0 ? errno : writeAll(fd, record.constData(), record.size());
    if (failure != 0) {
        // Part of the record may be in the file (a disk full after its first
        // bytes): cut it off where the record began, still under the lock,
        // so that no reader and no later append ever sees it.
        int rc;
        do rc = ::ftruncate(fd, at);
        while (rc == -1 && errno == EINTR);
        if (error) *error = systemErrorText(failure);
        return false;
    }
    lock.unlock();
    f.close();
    return true;
}

bool storeRun(SharedState& s, Services& sv, int level)
{
    RecordTables& t = s.records;
    if (!storableRun(s, sv, level)) return true;
    const int pupil = s.pupilNumber;
    const PupilLevelStats& st = t.stats(level, pupil);
    const LevelRow& row = s.levelTable[level];
    // The counters are those of the last computation, without this run.
    t.qualified = st.runCount >= row.requiredRuns && st.totalPoints >= row.requiredPoints;
    if (st.personalBest > s.runScore) {
        t.newPersonalBest = true;
        t.touch(level, pupil).personalBest = s.runScore;
    }
    if (!appendRunRecords(s, sv)) return false;
    if (t.overallBest[level] > s.runScore) {
        t.overallBest[level] = s.runScore;
        t.newOverallBest = true;
    }
    return true;
}

bool appendRunRecords(SharedState& s, Services& sv)
{
    if (!storableRun(s, sv, s.currentLevel)) return true;
    // One reading: a run stored at midnight gets the date and time of the same instant.
    const RecordStamp stamp = recordStamp(sv.clock.now());
    ResultRecord r;
    r.date = stamp.date;
    r.time = stamp.time;
    r.pupilNumber = s.pupilNumber;
    r.level = s.currentLevel;
    r.score = s.runScore;
    r.siteCode = s.siteCode;
    QString error;
    if (!appendRecordLocked(resultFilePath(s), encodeResultRecord(r), &error))
        return storeFailed(s, sv, resultFilePath(s), error);

    if (s.rosterFileMode == 1 && (s.pupilNumber < 4900 || s.pupilNumber > 5000)) {
        const SharedLogRecord l = SharedLogRecord::of(r, titleFolderName(s));
        if (!appendRecordLocked(sharedLogPath(s), encodeSharedLogRecord(l), &error))
            return storeFailed(s, sv, sharedLogPath(s), error);
    }
    return true;
}
