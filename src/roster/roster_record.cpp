#include "roster/roster_record.h"

#include "base/file_error.h"
#include "base/text_file.h"
#include "base/text_util.h"

#include <QRegularExpression>
#include <limits>

namespace {
// A whole number in plain decimal ("12", "-3", "+4"); empty reads as 0.
bool parseInt16(const QString& text, qint16& out)
{
    const QString t = trimBlanks(text);
    if (t.isEmpty()) {
        out = 0;
        return true;
    }
    static const QRegularExpression plain(QStringLiteral("^[+-]?[0-9]{1,6}$"));
    if (!plain.match(t).hasMatch()) return false;
    const int v = t.toInt();
    if (v < std::numeric_limits<qint16>::min() || v > std::numeric_limits<qint16>::max()) return false;
    out = qint16(v);
    return true;
}

// A value as a reason quotes it: a damaged line may hold anything, even a
// value of megabytes, and the reason is shown on the screens.
QString quotedValue(const QString& value)
{
    constexpr qsizetype kShown = 20;
    return value.size() <= kShown ? value : value.left(kShown) + u'…';
}

// Quotes cannot be written inside a quoted value and line ends would split
// the record: such characters are replaced when a record is written.
QString writableText(const QString& text)
{
    QString t = text;
    t.replace(u'"', u'”');
    t.replace(u'\r', u' ');
    t.replace(u'\n', u' ');
    return t;
}
} // namespace

int RosterRecord::status() const
{
    const QString t = trimBlanks(statusText);
    if (t.isEmpty()) return statusQuoted ? -1 : 0;
    static const QRegularExpression number(QStringLiteral("^[+-]?[0-9]+(\\.[0-9]*)?$"));
    if (!number.match(t).hasMatch()) return -1;
    const double v = t.toDouble();
    return v == 0 ? 0 : v == 2 ? 2 : -1;
}

void RosterRecord::setName(const QString& n) { name = fixedWidth(n, kRosterTextWidth); }

bool parseRosterLine(const QString& line, RosterRecord& r, QString* reason)
{
    ListReader in(line, QStringLiteral("生徒用名簿.txt"), QString());
    ListValue v[8];
    try {
        for (ListValue& value : v) value = in.readValue();
    } catch (const FileError&) {
        if (reason) *reason = QStringLiteral("値が 8 個ありません（%1 個）").arg(in.valuesRead());
        return false;
    }
    static const char16_t* const numberNames[] = {u"番号", u"生まれた年", u"3 番目の値", u"4 番目の値"};
    qint16* numbers[] = {&r.number, &r.birthYear, &r.spare1, &r.spare2};
    for (int i = 0; i < 4; ++i) {
        if (!parseInt16(v[i].text, *numbers[i])) {
            if (reason)
                *reason = QStringLiteral("%1が整数ではありません（「%2」）")
                              .arg(QString::fromUtf16(numberNames[i]), quotedValue(v[i].text));
            return false;
        }
    }
    r.name = fixedWidth(v[4].text, kRosterTextWidth);
    r.statusText = v[5].text;
    r.statusQuoted = v[5].quoted;
    r.spareText1 = fixedWidth(v[6].text, kRosterTextWidth);
    r.spareText2 = fixedWidth(v[7].text, kRosterTextWidth);
    return true;
}

QString rosterLine(const RosterRecord& r)
{
    QString status;
    if (r.statusQuoted) status = listQuote(writableText(r.statusText));
    else status = trimBlanks(r.statusText);
    const QChar c = u',';
    return QString::number(r.number) + c + QString::number(r.birthYear) + c + QString::number(r.spare1) + c +
           QString::number(r.spare2) + c + listQuote(fixedWidth(writableText(r.name), kRosterTextWidth)) + c + status +
           c + listQuote(fixedWidth(writableText(r.spareText1), kRosterTextWidth)) + c +
           listQuote(fixedWidth(writableText(r.spareText2), kRosterTextWidth));
}

int schoolYear(QDate today, int schoolYearStartMonth)
{
    return today.month() < schoolYearStartMonth ? today.year() - 1 : today.year();
}

int gradeOffset(int schoolYear, int birthYear) { return schoolYear - birthYear - 6; }

QString gradeLabel(int offset)
{
    static const char16_t* const labels[] = {u"幼３", u"小１", u"小２", u"小３", u"小４", u"小５",
                                             u"小６", u"中１", u"中２", u"中３", u"高１"};
    if (offset < 0 || offset > 10) return {};
    return QString::fromUtf16(labels[offset]);
}

QString gradeCode(int offset)
{
    if (offset < -2) return QStringLiteral("幼-");
    if (offset <= 0) return QStringLiteral("幼") + QString::number(offset + 3);
    if (offset <= 6) return QStringLiteral("小") + QString::number(offset);
    if (offset <= 9) return QStringLiteral("中") + QString::number(offset - 6);
    if (offset <= 12) return QStringLiteral("高") + QString::number(offset - 9);
    return QStringLiteral("大+");
}
