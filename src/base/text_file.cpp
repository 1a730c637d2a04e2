#include "base/text_file.h"

#include "base/file_error.h"
#include "base/file_write.h"
#include "base/text_util.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <iconv.h>
#include <limits>

namespace {

// One conversion descriptor per direction and thread, opened on first use:
// opening loads the converter module, which costs more than a whole file.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (cd_ != iconv_t(-1)) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    iconv_t get()
    {
        if (cd_ == iconv_t(-1)) qFatal("iconv has no CP932 converter");
        iconv(cd_, nullptr, nullptr, nullptr, nullptr); // back to the initial state
        return cd_;
    }

private:
    iconv_t cd_;
};

Converter& decoder()
{
    thread_local Converter c("UTF-16LE", "CP932");
    return c;
}

Converter& encoder()
{
    thread_local Converter c("CP932", "UTF-16LE");
    return c;
}

bool plainAscii(const QByteArray& bytes)
{
    for (const char c : bytes)
        if (uchar(c) >= 0x80) return false;
    return true;
}

// Decodes, calling `invalid(offset)` for every byte that does not start a
// valid character (it becomes U+FFFD).
template <typename OnInvalid> QString decode(const QByteArray& bytes, OnInvalid invalid)
{
    if (plainAscii(bytes)) return QString::fromLatin1(bytes);
    QString out(bytes.size(), Qt::Uninitialized); // never more characters than bytes
    iconv_t cd = decoder().get();
    char* in = const_cast<char*>(bytes.constData());
    std::size_t inLeft = std::size_t(bytes.size());
    char* const outStart = reinterpret_cast<char*>(out.data());
    char* o = outStart;
    std::size_t outLeft = std::size_t(out.size()) * 2;
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &o, &outLeft) != std::size_t(-1)) break;
        if (errno == E2BIG) break; // cannot happen: one byte gives at most one character
        // EILSEQ or EINVAL (a lead byte at the very end): one byte is replaced.
        invalid(qsizetype(in - bytes.constData()));
        const char16_t replacement = 0xFFFD;
        std::memcpy(o, &replacement, 2);
        o += 2;
        outLeft -= 2;
        ++in;
        --inLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    out.truncate(qsizetype(o - outStart) / 2);
    return out;
}

} // namespace

QString decodeCp932(const QByteArray& bytes)
{
    return decode(bytes, [](qsizetype) {});
}

bool cp932HasInvalidBytes(const QByteArray& bytes, qsizetype* offset)
{
    bool found = false;
    decode(bytes, [&](qsizetype at) {
        if (!found && offset) *offset = at;
        found = true;
    });
    return found;
}

namespace {
// Encodes, calling `unencodable(index)` for every UTF-16 unit that code page
// 932 cannot hold (it becomes "?").
template <typename OnUnencodable> QByteArray encode(const QString& text, OnUnencodable unencodable)
{
    bool ascii = true;
    for (const QChar c : text)
        if (c.unicode() >= 0x80) ascii = false;
    if (ascii) return text.toLatin1();
    QByteArray out(text.size() * 2, Qt::Uninitialized); // at most two bytes a character
    iconv_t cd = encoder().get();
    const char* const start = reinterpret_cast<const char*>(text.constData());
    char* in = const_cast<char*>(start);
    std::size_t inLeft = std::size_t(text.size()) * 2;
    char* o = out.data();
    std::size_t outLeft = std::size_t(out.size());
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &o, &outLeft) != std::size_t(-1)) break;
        if (errno == E2BIG) break;
        const qsizetype index = qsizetype(in - start) / 2;
        unencodable(index);
        // A surrogate pair is one character: skip both halves.
        const qsizetype units = text[index].isHighSurrogate() && index + 1 < text.size() ? 2 : 1;
        *o++ = '?';
        --outLeft;
        in += units * 2;
        inLeft -= std::min<std::size_t>(inLeft, std::size_t(units) * 2);
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    out.truncate(qsizetype(o - out.data()));
    return out;
}
} // namespace

QByteArray encodeCp932(const QString& text)
{
    return encode(text, [](qsizetype) {});
}

qsizetype cp932FirstUnencodable(const QString& text)
{
    qsizetype first = -1;
    const QByteArray bytes = encode(text, [&](qsizetype i) {
        if (first < 0) first = i;
    });
    // iconv also writes a few characters as others' codes ("¥" as 0x5C, which
    // reads back as "\"; "‾" as "~"; "—" as "―"): those cannot be held either.
    const QString back = decodeCp932(bytes);
    const qsizetype n = std::min(back.size(), text.size());
    for (qsizetype i = 0; i < n && (first < 0 || i < first); ++i) {
        if (back[i] != text[i]) return i;
    }
    return first;
}

QString decodeTextFile(const QByteArray& bytes)
{
    const qsizetype end = bytes.indexOf('\x1A');
    return decodeCp932(end < 0 ? bytes : bytes.left(end));
}

std::optional<QString> tryReadTextFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    return decodeTextFile(f.readAll());
}

QString readTextFile(const QString& path, const QString& displayName)
{
    QFile f(path);
    if (!QFileInfo::exists(path)) throw FileError(displayName, path, QStringLiteral("ファイルがありません。"));
    QString reason;
    if (!openWithReason(f, QIODevice::ReadOnly, &reason))
        throw FileError(displayName, path, QStringLiteral("ファイルを開けません（%1）。").arg(reason));
    return decodeTextFile(f.readAll());
}

bool writeTextFileAtomic(const QString& path, const QString& text, QString* error)
{
    return replaceFileAtomic(path, encodeCp932(text), error);
}

ListReader::ListReader(QString text, QString displayName, QString path)
    : text_(std::move(text)), displayName_(std::move(displayName)), path_(std::move(path))
{}

bool ListReader::atLineEnd(qsizetype i) const { return i < text_.size() && (text_[i] == u'\r' || text_[i] == u'\n'); }

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
        if (lineStart_ && atLineEnd(i)) {
            i = skipLineEnd(i);
            continue;
        }
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

double ListReader::readNumber() { return leadingNumber(readValue().text); }

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
