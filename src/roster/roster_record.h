#pragma once
#include <QDate>
#include <QString>

// One pupil of the roster file: eight values on one line,
//   number,birthYear,spare1,spare2,"name",status,"spareText1","spareText2"
constexpr int kRosterTextWidth = 20;

struct RosterRecord {
    qint16 number = 0;
    qint16 birthYear = 0; // cohort year: early-year births count one year earlier
    qint16 spare1 = 0;
    qint16 spare2 = 0;
    QString name = QString(kRosterTextWidth, u' '); // always 20 characters
    // status exactly as read, so that it is written back the same way: a
    // number, a quoted text, or nothing between the commas.
    QString statusText = QStringLiteral("0");
    bool statusQuoted = false;
    QString spareText1 = QString(kRosterTextWidth, u' ');
    QString spareText2 = QString(kRosterTextWidth, u' ');

    // 0 listed, 2 listed when rosterStatusOption is 1, anything else kept but
    // not listed. A status that is not a number gives -1 (not listed).
    int status() const;
    void setName(const QString& n);
};

// Reads one line by the list-input convention. Returns false, with the reason
// in Japanese, when the line holds fewer than eight values or a number field
// (number, birth year, the two spares) is not a whole number of 16 bits.
bool parseRosterLine(const QString& line, RosterRecord& r, QString* reason = nullptr);
// The line as this program writes it (without the line end): numbers plain,
// each text at its full 20 characters inside quotes, status as it was read.
QString rosterLine(const RosterRecord& r);

// The school year of `today`: its calendar year, one less before the month
// the school year starts.
int schoolYear(QDate today, int schoolYearStartMonth);
// Offset 1 is the first elementary year.
int gradeOffset(int schoolYear, int birthYear);
// "幼３", "小１"…"小６", "中１"…"中３", "高１" for offsets 0–10; empty otherwise.
QString gradeLabel(int offset);
// The two-character code of the pupil list: "幼-", "幼1"…"幼3", "小1"…"小6",
// "中1"…"中3", "高1"…"高3", "大+".
QString gradeCode(int offset);
