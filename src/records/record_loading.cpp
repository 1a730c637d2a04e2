#include "records/record_loading.h"

#include "base/file_error.h"
#include "base/folder_path.h"
#include "records/record_file.h"
#include "records/record_format.h"
#include "records/record_passes.h"
#include "records/result_file_stream.h"
#include "state/services.h"
#include "state/shared_state.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <functional>

namespace {

struct OpenAttempt {
    bool ok = false;
    QString errorText;
    int errorNumber = 0;
};

// Random-access opening: read and write, created when missing. A file this
// computer may only read is still loaded (readers need no write access).
OpenAttempt openForLoading(const QString& path, QFile& f)
{
    OpenAttempt a;
    f.setFileName(path);
    errno = 0;
    if (f.open(QIODevice::ReadWrite | QIODevice::Unbuffered)) {
        a.ok = true;
        return a;
    }
    a.errorNumber = errno;
    a.errorText = fileErrorText(a.errorNumber, f, FileAccess::Read);
    if (QFileInfo::exists(path) && f.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) a.ok = true;
    return a;
}

// Opens the result file with the loader's retries. False when the program is
// ending.
bool openWithRetries(SharedState& s, Services& sv, QFile& f)
{
    const QString path = resultFilePath(s);
    const QString shownPath = QDir::toNativeSeparators(path);
    int missingFailures = 0;
    qint64 refusedWaitedMs = 0;
    // Shows why the records cannot be loaded and ends the program.
    auto fail = [&](const QString& heading, const OpenAttempt& a) {
        sv.dialogs.message(
            QStringLiteral("%1\r\n%2\r\n%3（エラー番号 %4）").arg(heading, shownPath, a.errorText).arg(a.errorNumber),
            recordMessageTitle(s));
        sv.end.request(1);
        return false;
    };
    for (;;) {
        if (QFileInfo(path).isDir()) {
            // Waiting would not help: say what is wrong at once.
            OpenAttempt a;
            a.errorText = QStringLiteral("成績ファイルの名前のフォルダがあります。フォルダの名前を変えるか、"
                                         "別の場所に移してください。");
            a.errorNumber = EISDIR;
            return fail(QStringLiteral("loadRecentRecords"), a);
        }
        const OpenAttempt a = openForLoading(path, f);
        if (a.ok) return true;
        if (!QFileInfo(nativePath(s.recordsFolder)).isDir()) {
            // The folder is missing, e.g. a network folder not yet connected.
            if (++missingFailures >= 4) return fail(QStringLiteral("ファイルがありません"), a);
            sv.clock.waitMs(5000);
        } else if (QFileInfo::exists(path)) {
            // Held by another PC (or not readable): retry each second, but
            // not for ever.
            if (refusedWaitedMs >= 60000)
                return fail(QStringLiteral("成績ファイルを読み込めません。他のパソコンが使用中か、"
                                           "読み取りが許可されていません（60 秒待ちました）。"),
                            a);
            sv.clock.waitMs(1000);
            refusedWaitedMs += 1000;
        } else {
            return fail(QStringLiteral("loadRecentRecords"), a);
        }
        if (sv.end.requested()) return false;
    }
}

// A chunk small enough to stay in the processor's cache between its reading
// and its counting.
constexpr qint64 kLoaderChunkRecords = 2048;

// Reads the newest records of the result file in chunks, each handed to
// `feed`; with the loader's retries and its message when reading fails,
// which names the last record read by its fields. False when the program is
// ending.
bool readForLoading(SharedState& s, Services& sv, const std::function<void(const char*, qint64)>& feed)
{
    QFile f;
    if (!openWithRetries(s, sv, f)) return false;
    ResultFileStream stream(f, kLoaderChunkRecords, kLoadWindow);
    qint64 failedAt = stream.startRecord();
    QByteArray last;
    while (stream.next()) {
        feed(stream.bytes(), stream.count());
        last = QByteArray(stream.bytes() + (stream.count() - 1) * kResultRecordSize, kResultRecordSize);
        failedAt = stream.firstRecord() + stream.count();
    }
    if (stream.ok()) return true;
    QString where = QStringLiteral("レコード %1 を読めませんでした。").arg(failedAt);
    if (!last.isEmpty()) {
        const ResultRecord r = decodeResultRecord(last.constData());
        where += QStringLiteral("\r\n最後に読めたレコード：日付 %1、時刻 %2、生徒番号 %3、レベル %4、タイム %5")
                     .arg(recordDateText(r.date), recordTimeText(r.time))
                     .arg(r.pupilNumber)
                     .arg(r.level)
                     .arg(r.score);
    }
    sv.dialogs.message(QStringLiteral("loadRecentRecords\r\n%1\r\n%2\r\n%3")
                           .arg(QDir::toNativeSeparators(resultFilePath(s)), stream.error(), where),
                       recordMessageTitle(s));
    sv.end.request(1);
    return false;
}
} // namespace

bool loadRecentRecords(SharedState& s, Services& sv)
{
    LoadingPass pass(s.records);
    if (!readForLoading(s, sv, [&](const char* bytes, qint64 count) { pass.add(bytes, count); })) return false;
    pass.finish();
    return true;
}

bool loadRecordsAndCounts(SharedState& s, Services& sv)
{
    CountingPass pass(s.records, s.levelTable, sv.clock.today());
    if (!readForLoading(s, sv, [&](const char* bytes, qint64 count) { pass.add(bytes, count); })) return false;
    pass.finish();
    return true;
}

bool readResultTail(QFile& file, qint64 window, ResultTail& tail, QString* error)
{
    ResultFileStream stream(file, kResultChunkRecords, window);
    tail = ResultTail{};
    tail.firstRecord = stream.startRecord();
    tail.totalRecords = stream.totalRecords();
    while (stream.next()) {
        tail.bytes.append(stream.bytes(), stream.count() * kResultRecordSize);
        tail.count += stream.count();
    }
    if (!stream.ok() && error) *error = stream.error();
    return stream.ok();
}
