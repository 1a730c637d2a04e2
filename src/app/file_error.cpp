#include "app/file_error.h"

QString FileError::message() const
{
    return QStringLiteral("ファイル「%1」を読み込めません。\r\n場所：%2\r\n理由：%3")
        .arg(fileName_, path_, reason_);
}
