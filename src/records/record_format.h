#pragma once
#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QtEndian>
#include <QtGlobal>
#include <bit>

// The two fixed-length record formats, encoded field by field in little-endian
// so that files written on any machine read the same everywhere.

constexpr qint64 kResultRecordSize = 44;
constexpr qint64 kSharedLogRecordSize = 66;

// One record of the result file (成績累積データ.dat).
struct ResultRecord {
    double date = 0; // days since 30 December 1899
    double time = 0; // fraction of a day
    qint16 pupilNumber = 0;
    qint16 level = 0;
    qint32 score = 0;
    QString siteCode;                         // up to five bytes of code page 932
    QString pointsText = QStringLiteral("0"); // this title never sets the points value
    bool operator==(const ResultRecord&) const = default;
};

// One record of the shared log (成績累積データ家庭用.dat).
struct SharedLogRecord {
    QString titleFolder; // e.g. "ソルメア\"
    qint16 contentCode = 0;
    double date = 0;
    double time = 0;
    qint16 pupilNumber = 0;
    qint16 level = 0;
    qint32 score = 0;
    QString siteCode;
    bool operator==(const SharedLogRecord&) const = default;

    // The shared log's copy of a stored run.
    static SharedLogRecord of(const ResultRecord& r, const QString& titleFolder)
    {
        return {titleFolder, 0, r.date, r.time, r.pupilNumber, r.level, r.score, r.siteCode};
    }
};

QByteArray encodeResultRecord(const ResultRecord& r);
// `bytes` must hold at least 44 bytes. Texts come back without their padding.
ResultRecord decodeResultRecord(const char* bytes);
QByteArray encodeSharedLogRecord(const SharedLogRecord& r);
SharedLogRecord decodeSharedLogRecord(const char* bytes);

// Code page 932 text in a field of `width` bytes: cut on a character boundary
// (never half of a double-byte character) and padded with spaces.
QByteArray fixedCp932(const QString& text, int width);
// The text of such a field, without trailing blanks and zero bytes.
QString fieldText(const char* bytes, int width);

// Little-endian fields.
inline void putLe16(char* p, qint16 v)
{
    for (int i = 0; i < 2; ++i) p[i] = char(quint16(v) >> (8 * i));
}
inline void putLe32(char* p, qint32 v)
{
    for (int i = 0; i < 4; ++i) p[i] = char(quint32(v) >> (8 * i));
}
void putLeDouble(char* p, double v);
inline qint16 getLe16(const char* p) { return qFromLittleEndian<qint16>(p); }
inline qint32 getLe32(const char* p) { return qFromLittleEndian<qint32>(p); }
inline double getLeDouble(const char* p) { return std::bit_cast<double>(qFromLittleEndian<quint64>(p)); }

// Dates as days since 30 December 1899, times as fractions of a day.
qint64 daySerial(QDate d);
QDate dateFromSerial(qint64 serial);
double dayFraction(QTime t);
// The time of day a stored fraction of a day stands for, in whole seconds
// 0–86399, the one rule of every screen, the report and the records tool:
// the fraction is taken to the nearest millisecond (a whole second is often
// stored a hair below itself), then cut to the second. A fraction that rounds
// to the very end of the day stays in it, at 23:59:59: the date stored beside
// it is the day of the run, and 00:00:00 would put the run a day early.
// A value beyond a day counts from the start of its own day.
int daySecond(double fraction);
// "HH:mm:ss", or "HH:mm" (the minute is cut, never rounded up).
QString timeOfDayText(double fraction, bool withSeconds = true);
// A stored date as yyyy/MM/dd and a time of day as HH:mm:ss; values no
// calendar holds are written as plain numbers.
QString recordDateText(double date);
QString recordTimeText(double time);
// Both from one reading of the clock.
struct RecordStamp {
    double date = 0, time = 0;
};
RecordStamp recordStamp(const QDateTime& now);

// The numeric value of a stored points text ("0    " → 0): leading blanks,
// an optional sign and digits; anything else ends the number.
qint32 pointsTextValue(const char* bytes, int width);

// The fields of one stored result record read where they lie, without
// decoding what is not asked for: the lists and counters go through
// thousands of records. `bytes` must hold at least 44 bytes.
class ResultRecordView {
public:
    explicit ResultRecordView(const char* bytes) : p_(bytes) {}
    double date() const { return getLeDouble(p_ + 0); }
    double time() const { return getLeDouble(p_ + 8); }
    qint16 pupilNumber() const { return getLe16(p_ + 16); }
    qint16 level() const { return getLe16(p_ + 18); }
    qint32 score() const { return getLe32(p_ + 20); }
    QString siteCode() const { return fieldText(p_ + 24, 5); }
    QString pointsText() const { return fieldText(p_ + 34, 5); }
    qint32 pointsValue() const { return pointsTextValue(p_ + 34, 5); }

private:
    const char* p_;
};
