#include "app/text_file.h"

#include "app/file_error.h"
#include "app/text_util.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <cmath>
#include <limits>

QString decodeCp932(const QByteArray& bytes)
{
    QStringDecoder dec("CP932");
    return dec.decode(bytes);
}

QByteArray encodeCp932(const QString& text)
{
    QStringEncoder enc("CP932");
    return enc.encode(text);
}

std::optional<QString> tryReadTextFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    return decodeCp932(f.readAll());
}

QString readTextFile(const QString& path, const QString& displayName)
{
    QFile f(path);
    if (!QFileInfo::exists(path))
        throw FileError(displayName, path, QStringLiteral("ファイルがありません。"));
    if (!f.open(QIODevice::ReadOnly))
        throw FileError(displayName, path, QStringLiteral("ファイルを開けません（%1）。").arg(f.errorString()));
    return decodeCp932(f.readAll());
}

bool writeTextFileAtomic(const QString& path, const QString& text, QString* error)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        if (error) *error = f.errorString();
        return false;
    }
    const QByteArray bytes = encodeCp932(text);
    if (f.write(bytes) != bytes.size() || !f.commit()) {
        if (error) *error = f.errorString();
        return false;
    }
    return true;
}

ListReader::ListReader(QString text, QString displayName, QString path)
    : text_(std::move(text)), displayName_(std::move(displayName)), path_(std::move(path))
{
}

bool ListReader::atLineEnd(qsizetype i) const
{
    return i < text_.size() && (text_[i] == u'\r' || text_[i] == u'\n');
}

qsizetype ListReader::skipLineEnd(qsizetype i) const
{
    if (i < text_.size() && text_[i] == u'\r') ++i;
    if (i < text_.size() && text_[i] == u'\n') ++i;
    return i;
}

bool ListReader::atEnd() const
{
    for (qsizetype i = pos_; i < text_.size(); ++i) {
        const QChar c = text_[i];
        // A Ctrl-Z left by old editors also ends the text.
        if (c == QChar(0x1A)) return true;
        if (!isBlank(c) && c != u'\r' && c != u'\n') return false;
    }
    return true;
}

ListValue ListReader::readValue()
{
    if (atEnd())
        throw FileError(displayName_, path_,
                        QStringLiteral("値が足りません（%1 個目の値がありません）。").arg(valuesRead_ + 1));
    qsizetype i = pos_;
    // Blanks, and after a line end also empty lines, come before a value.
    for (;;) {
        while (i < text_.size() && isBlank(text_[i])) ++i;
        if (lineStart_ && atLineEnd(i)) { i = skipLineEnd(i); continue; }
        break;
    }
    ListValue v;
    if (i < text_.size() && text_[i] == u'"') {
        v.quoted = true;
        const qsizetype close = text_.indexOf(u'"', i + 1);
        const qsizetype stop = close < 0 ? text_.size() : close;
        v.text = text_.mid(i + 1, stop - i - 1);
        v.text.remove(u'\r');
        v.text.remove(u'\n');
        i = close < 0 ? text_.size() : close + 1;
        // Anything after the closing quote up to the separator is ignored.
        while (i < text_.size() && text_[i] != u',' && !atLineEnd(i)) ++i;
    } else {
        const qsizetype start = i;
        while (i < text_.size() && text_[i] != u',' && !atLineEnd(i)) ++i;
        v.text = trimRightBlanks(text_.mid(start, i - start));
    }
    if (i < text_.size() && text_[i] == u',') {
        ++i;
        lineStart_ = false;
    } else {
        i = skipLineEnd(i);
        lineStart_ = true;
    }
    pos_ = i;
    ++valuesRead_;
    return v;
}

double ListReader::readNumber()
{
    return leadingNumber(readValue().text);
}

namespace {
template <typename T> T saturate(double v)
{
    if (std::isnan(v)) return 0;
    v = std::trunc(v);
    if (v < double(std::numeric_limits<T>::min())) return std::numeric_limits<T>::min();
    if (v > double(std::numeric_limits<T>::max())) return std::numeric_limits<T>::max();
    return static_cast<T>(v);
}
} // namespace

qint32 ListReader::readInt32() { return saturate<qint32>(readNumber()); }
qint16 ListReader::readInt16() { return saturate<qint16>(readNumber()); }

QString listQuote(const QString& text) { return u'"' + text + u'"'; }
