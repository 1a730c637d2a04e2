#include "records/result_file_stream.h"

#include "base/file_error.h"
#include "records/record_format.h"

#include <QFile>
#include <algorithm>
#include <cerrno>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

qint64 fileLengthNow(QFile& f)
{
#ifdef Q_OS_WIN
    return f.size();
#else
    struct stat st;
    if (::fstat(f.handle(), &st) != 0) return -1;
    return qint64(st.st_size);
#endif
}

ResultFileStream::ResultFileStream(QFile& file, qint64 chunkRecords, qint64 newest)
    : file_(file), chunkRecords_(std::max<qint64>(1, chunkRecords))
{
    const qint64 length = fileLengthNow(file_);
    if (length < 0) {
        error_ = systemErrorText(errno, FileAccess::Read);
        return;
    }
    totalRecords_ = length / kResultRecordSize;
    trailingBytes_ = length % kResultRecordSize;
    if (newest >= 0) startIndex_ = std::max<qint64>(0, totalRecords_ - newest);
    rewind();
}

bool ResultFileStream::rewind()
{
    nextRecord_ = startIndex_;
    count_ = 0;
    if (!ok()) return false;
    errno = 0;
    if (!file_.seek(startIndex_ * kResultRecordSize)) {
        error_ = fileErrorText(errno, file_, FileAccess::Read);
        return false;
    }
    return true;
}

bool ResultFileStream::next()
{
    count_ = 0;
    if (!ok() || nextRecord_ >= totalRecords_) return false;
    const qint64 want = std::min(chunkRecords_, totalRecords_ - nextRecord_) * kResultRecordSize;
    if (buffer_.size() < want) buffer_.resize(want);
    qint64 got = 0;
    while (got < want) {
        errno = 0;
        const qint64 n = file_.read(buffer_.data() + got, want - got);
        if (n < 0) {
            error_ = fileErrorText(errno, file_, FileAccess::Read);
            return false;
        }
        if (n == 0) break; // cut short meanwhile
        got += n;
    }
    count_ = got / kResultRecordSize;
    firstRecord_ = nextRecord_ + 1;
    // After a short read the file has ended: a partial record read at its end
    // is not used, and nothing follows it.
    nextRecord_ = got < want ? totalRecords_ : nextRecord_ + count_;
    return count_ > 0;
}
