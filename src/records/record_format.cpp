#include "records/record_format.h"

#include "base/text_file.h"
#include "base/text_util.h"

#include <QtEndian>
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

void putLeDouble(char* p, double v)
{
    const quint64 le = qToLittleEndian(std::bit_cast<quint64>(v));
    std::memcpy(p, &le, 8);
}

qint64 daySerial(QDate d) { return d.toJulianDay() - QDate(1899, 12, 30).toJulianDay(); }
QDate dateFromSerial(qint64 serial) { return QDate::fromJulianDay(QDate(1899, 12, 30).toJulianDay() + serial); }
double dayFraction(QTime t) { return t.msecsSinceStartOfDay() / 86400000.0; }

QString recordDateText(double date)
{
    if (std::isfinite(date) && date >= 0 && date < 2958466) // up to 31 December 9999
        return dateFromSerial(qint64(std::floor(date))).toString(QStringLiteral("yyyy/MM/dd"));
    return plainDecimal(date);
}

int daySecond(double fraction)
{
    constexpr double kDayMs = 86400000.0;
    double ms = std::round(fraction * kDayMs);
    if (!std::isfinite(ms)) return 0;
    if (ms < 0 || ms > kDayMs) {
        ms = std::fmod(ms, kDayMs);
        if (ms < 0) ms += kDayMs;
    }
    return int(std::min(ms, kDayMs - 1)) / 1000;
}

QString timeOfDayText(double fraction, bool withSeconds)
{
    const int s = daySecond(fraction);
    // Built by hand: a QTime format costs more than a whole csv line.
    const char16_t hms[8] = {char16_t(u'0' + s / 36000),   char16_t(u'0' + s / 3600 % 10), u':',
                             char16_t(u'0' + s / 600 % 6), char16_t(u'0' + s / 60 % 10),   u':',
                             char16_t(u'0' + s % 60 / 10), char16_t(u'0' + s % 10)};
    return QString(reinterpret_cast<const QChar*>(hms), withSeconds ? 8 : 5);
}

QString recordTimeText(double time)
{
    if (!std::isfinite(time) || time < 0 || time >= 1) return plainDecimal(time);
    return timeOfDayText(time);
}

RecordStamp recordStamp(const QDateTime& now) { return {double(daySerial(now.date())), dayFraction(now.time())}; }

namespace {
bool isLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
} // namespace

QByteArray fixedCp932(const QString& text, int width)
{
    const QByteArray bytes = encodeCp932(text);
    qsizetype n = 0;
    while (n < bytes.size()) {
        const qsizetype step = isLeadByte(uchar(bytes[n])) ? 2 : 1;
        if (n + step > width) break;
        n += step;
    }
    QByteArray out = bytes.left(n);
    out.append(width - n, ' ');
    return out;
}

QString fieldText(const char* bytes, int width)
{
    int n = width;
    while (n > 0 && (bytes[n - 1] == ' ' || bytes[n - 1] == '\0')) --n;
    return decodeCp932(QByteArray(bytes, n));
}

qint32 pointsTextValue(const char* bytes, int width)
{
    int i = 0;
    while (i < width && bytes[i] == ' ') ++i;
    bool negative = false;
    if (i < width && (bytes[i] == '+' || bytes[i] == '-')) negative = bytes[i++] == '-';
    qint32 v = 0;
    for (; i < width && bytes[i] >= '0' && bytes[i] <= '9'; ++i) v = v * 10 + (bytes[i] - '0');
    return negative ? -v : v; // at most five bytes: no overflow
}

QByteArray encodeResultRecord(const ResultRecord& r)
{
    QByteArray out(kResultRecordSize, '\0');
    char* p = out.data();
    putLeDouble(p + 0, r.date);
    putLeDouble(p + 8, r.time);
    putLe16(p + 16, r.pupilNumber);
    putLe16(p + 18, r.level);
    putLe32(p + 20, r.score);
    std::memcpy(p + 24, fixedCp932(r.siteCode, 5).constData(), 5);
    std::memset(p + 29, ' ', 5);
    std::memcpy(p + 34, fixedCp932(r.pointsText, 5).constData(), 5);
    // 39–43: five zero bytes, already there.
    return out;
}

ResultRecord decodeResultRecord(const char* p)
{
    const ResultRecordView v(p);
    ResultRecord r;
    r.date = v.date();
    r.time = v.time();
    r.pupilNumber = v.pupilNumber();
    r.level = v.level();
    r.score = v.score();
    r.siteCode = v.siteCode();
    r.pointsText = v.pointsText();
    return r;
}

QByteArray encodeSharedLogRecord(const SharedLogRecord& r)
{
    QByteArray out(kSharedLogRecordSize, '\0');
    char* p = out.data();
    std::memcpy(p + 0, fixedCp932(r.titleFolder, 20).constData(), 20);
    putLe16(p + 20, r.contentCode);
    putLeDouble(p + 22, r.date);
    putLeDouble(p + 30, r.time);
    putLe16(p + 38, r.pupilNumber);
    putLe16(p + 40, r.level);
    putLe32(p + 42, r.score);
    std::memcpy(p + 46, fixedCp932(r.siteCode, 5).constData(), 5);
    // 51–65: three reserved text fields of zero bytes, already there.
    return out;
}

SharedLogRecord decodeSharedLogRecord(const char* p)
{
    SharedLogRecord r;
    r.titleFolder = fieldText(p + 0, 20);
    r.contentCode = getLe16(p + 20);
    r.date = getLeDouble(p + 22);
    r.time = getLeDouble(p + 30);
    r.pupilNumber = getLe16(p + 38);
    r.level = getLe16(p + 40);
    r.score = getLe32(p + 42);
    r.siteCode = fieldText(p + 46, 5);
    return r;
}
