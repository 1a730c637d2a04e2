#include "base/file_error.h"

#include <QFile>
#include <cerrno>
#include <cstring>

QString FileError::message() const
{
    return QStringLiteral("ファイル「%1」を読み込めません。\r\n場所：%2\r\n理由：%3").arg(fileName_, path_, reason_);
}

QString systemErrorText(int errnum, FileAccess access)
{
    switch (errnum) {
    case ENOSPC: return QStringLiteral("ディスクの空きがありません");
    case EDQUOT: return QStringLiteral("ディスクの使用量が上限に達しています");
    case EACCES:
    case EPERM:
        return access == FileAccess::Write ? QStringLiteral("書き込みが許可されていません")
                                           : QStringLiteral("読み取りが許可されていません");
    case EROFS: return QStringLiteral("書き込みが許可されていません");
    case EIO: return QStringLiteral("読み書きの障害です");
    case ENOLCK:
        return QStringLiteral("ファイルをロックできません（このフォルダではロックが使えないか、"
                              "ロックの数が上限に達しています）");
    case ENOENT: return QStringLiteral("ファイルまたはフォルダがありません");
    case EISDIR: return QStringLiteral("同じ名前のフォルダがあります");
    case 0: return QStringLiteral("原因が分からない失敗です");
    }
    // glibc names every number it knows; for any other, strerror would say
    // "Unknown error".
    if (!strerrorname_np(errnum)) return QStringLiteral("システムのエラー（エラー番号 %1）").arg(errnum);
    return QStringLiteral("%1（エラー番号 %2）").arg(QString::fromLocal8Bit(std::strerror(errnum))).arg(errnum);
}

QString fileErrorText(int errnum, const QFileDevice& file, FileAccess access)
{
    const QString own = file.errorString();
    // Qt's text when it set none is "Unknown error".
    if (errnum != 0 || file.error() == QFileDevice::NoError || own.isEmpty() || own == u"Unknown error")
        return systemErrorText(errnum, access);
    return own;
}

bool openWithReason(QFile& file, QIODevice::OpenMode mode, QString* reason)
{
    errno = 0;
    if (file.open(mode)) return true;
    const int failure = errno;
    if (reason)
        *reason = fileErrorText(failure, file,
                                mode.testFlag(QIODevice::WriteOnly) ? FileAccess::Write : FileAccess::Read);
    return false;
}
