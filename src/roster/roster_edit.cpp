#include "roster/roster_edit.h"

#include "base/file_error.h"
#include "base/text_file.h"
#include "base/text_util.h"

#include "base/level_table.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QtEndian>
#include <cerrno>
#include <cmath>

namespace {
const QString kUnchanged = QStringLiteral("\n名簿は変更していません。");
// The earliest birth year a new pupil may be given: anything before is a typing slip.
constexpr int kFirstBirthYear = 1900;

bool blankLine(const QString& line)
{
    for (const QChar c : line)
        if (!isBlank(c)) return false;
    return true;
}

// The character at `i` (both halves of a surrogate pair) and its code.
QString describe(const QString& text, qsizetype i)
{
    const char32_t code = text.at(i).isHighSurrogate() && i + 1 < text.size()
                              ? QChar::surrogateToUcs4(text.at(i), text.at(i + 1))
                              : text.at(i).unicode();
    const QString ch = QString::fromUcs4(&code, 1);
    return QStringLiteral("「%1」（U+%2）").arg(ch, QString::number(code, 16).toUpper().rightJustified(4, u'0'));
}
} // namespace

EditorRead readEditorRows(const QString& path)
{
    EditorRead read;
    QFile f(path);
    QString reason;
    if (!openWithReason(f, QIODevice::ReadOnly, &reason)) {
        read.error = QFileInfo::exists(path)
                         ? QStringLiteral("名簿ファイル「%1」を読み込めません（%2）。")
                               .arg(QFileInfo(path).fileName(), reason)
                         : QStringLiteral("名簿ファイル「%1」がありません。").arg(QFileInfo(path).fileName());
        return read;
    }
    const QString text = decodeTextFile(f.readAll());
    read.opened = true;
    const QStringList lines = text.split(u'\n');
    for (QString line : lines) {
        if (line.endsWith(u'\r')) line.chop(1);
        if (blankLine(line)) continue;
        EditorRow row;
        row.rawLine = line;
        row.readable = parseRosterLine(line, row.record, &row.reason);
        read.rows.push_back(row);
    }
    return read;
}

QString editedName(const QString& typed, int row, QString* error)
{
    QString name = trimBlanks(typed);
    // What Windows' own conversion does with the two look-alikes that input
    // methods elsewhere type for the wave dash and the minus sign.
    name.replace(QChar(0x301C), QChar(0xFF5E));
    name.replace(QChar(0x2212), QChar(0xFF0D));
    const QString where = QStringLiteral("上から %1 番目の名前").arg(row);
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        QString what;
        if (c == u'"') what = QStringLiteral("「\"」");
        else if (c == u'\t') what = QStringLiteral("タブ");
        else if (c == u'\r' || c == u'\n') what = QStringLiteral("改行");
        // Ctrl-Z ends a text file for every reader: the lines after it would be lost.
        else if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            what = QStringLiteral("制御文字（U+%1）")
                       .arg(QString::number(c.unicode(), 16).toUpper().rightJustified(4, u'0'));
        if (!what.isEmpty()) {
            if (error) *error = where + QStringLiteral("に%1は使えません。取り除いてください。").arg(what) + kUnchanged;
            return {};
        }
    }
    const qsizetype bad = cp932FirstUnencodable(name);
    if (bad >= 0) {
        if (error)
            *error = where +
                     QStringLiteral("の%1は名簿ファイルに書けない文字です。別の文字に直してください。")
                         .arg(describe(name, bad)) +
                     kUnchanged;
        return {};
    }
    return name;
}

qint16 editedBirthYear(const QString& typed, int row, QString* error)
{
    const double v = leadingNumber(typed.normalized(QString::NormalizationForm_KC));
    if (!(v > -32768.5 && v < 32767.5)) {
        if (error)
            *error =
                QStringLiteral(
                    "上から %1 番目の生まれた年「%2」は年として読めません。西暦の数字で入力してください（例：2015）。")
                    .arg(row)
                    .arg(trimBlanks(typed)) +
                kUnchanged;
        return 0;
    }
    return qint16(std::lround(v));
}

RosterRewrite rewriteRoster(const std::vector<EditorRow>& rows, const std::array<RowEdit, kEditorRows>& edits,
                            const NewPupilRules& adding)
{
    RosterRewrite out;
    const std::size_t n = std::min<std::size_t>(rows.size(), kEditorRows);
    for (std::size_t i = 0; i < n; ++i) {
        const int row = int(i) + 1;
        QString line = rows[i].rawLine;
        if (rows[i].readable) {
            RosterRecord r = rows[i].record;
            const QString name = editedName(edits[i].name, row, &out.error);
            if (!out.error.isEmpty()) return out;
            const qint16 year = editedBirthYear(edits[i].birthYear, row, &out.error);
            if (!out.error.isEmpty()) return out;
            r.setName(name);
            r.birthYear = year;
            line = rosterLine(r);
        }
        // A field kept from the file may hold what a damaged byte decoded to;
        // writing it would change the file where nobody edited it.
        const qsizetype bad = cp932FirstUnencodable(line);
        if (bad >= 0) {
            out.error = QStringLiteral("名簿ファイルの %1 番目の名前の行に、書き戻せない文字%2があります。"
                                       "名簿ファイルを確かめてください。")
                            .arg(row)
                            .arg(describe(line, bad)) +
                        kUnchanged;
            return out;
        }
        out.text += line + QStringLiteral("\r\n");
    }
    if (adding.thisYear == 0) return out;

    // Every number the roster holds stays its pupil's, even on a line that
    // could not be read or that this rewrite drops.
    std::vector<bool> taken(kPupilCount, false);
    for (const EditorRow& r : rows) {
        const double number = r.readable ? r.record.number : leadingNumber(r.rawLine);
        if (number >= 0 && number < kPupilCount) taken[std::size_t(number)] = true;
    }
    for (std::size_t i = rows.size(); i < kEditorRows; ++i) {
        const std::optional<RosterRecord> pupil = newPupil(edits[i], int(i) + 1, taken, adding, &out.error);
        if (!out.error.isEmpty()) {
            out.text.clear();
            out.added.clear();
            return out;
        }
        if (!pupil) continue;
        taken[std::size_t(pupil->number)] = true;
        out.text += rosterLine(*pupil) + QStringLiteral("\r\n");
        out.added.push_back(*pupil);
    }
    return out;
}

std::optional<RosterRecord> newPupil(const RowEdit& typed, int row, const std::vector<bool>& taken,
                                     const NewPupilRules& rules, QString* error)
{
    QString problem;
    const QString name = editedName(typed.name, row, &problem);
    const QString year = trimBlanks(typed.birthYear.normalized(QString::NormalizationForm_KC));
    // A name of full-width blanks only is no name either.
    const bool noName = name.trimmed().isEmpty();
    if (problem.isEmpty() && noName && year.isEmpty()) return std::nullopt;
    if (problem.isEmpty() && noName)
        problem =
            QStringLiteral(
                "上から %1 番目は生まれた年だけで、名前がありません。名前を入力するか、生まれた年を消してください。")
                .arg(row) +
            kUnchanged;
    static const QRegularExpression fourDigits(QStringLiteral("^([0-9]{4})年?$"));
    const QRegularExpressionMatch m = fourDigits.match(year);
    const int birthYear = m.hasMatch() ? m.captured(1).toInt() : 0;
    if (problem.isEmpty() && !(birthYear >= kFirstBirthYear && birthYear <= rules.thisYear))
        problem =
            QStringLiteral(
                "上から %1 番目の生まれた年「%2」は年として使えません。西暦の 4 けたの数字で入力してください（例：%3）。")
                .arg(row)
                .arg(trimBlanks(typed.birthYear))
                .arg(rules.thisYear - 8) +
            kUnchanged;
    auto used = [&](std::size_t n) {
        return (n < taken.size() && taken[n]) || (n < rules.recordedNumbers.size() && rules.recordedNumbers[n]);
    };
    std::size_t number = 1;
    while (number < std::size_t(kPupilCount) && used(number)) ++number;
    if (problem.isEmpty() && number >= std::size_t(kPupilCount))
        problem = QStringLiteral("生徒番号 1～%1 がすべて使われているため、上から %2 番目の名前を加えられません。")
                      .arg(kPupilCount - 1)
                      .arg(row) +
                  kUnchanged;
    if (!problem.isEmpty()) {
        if (error) *error = problem;
        return std::nullopt;
    }
    RosterRecord r;
    r.number = qint16(number);
    r.birthYear = qint16(birthYear);
    r.setName(name);
    r.statusText.clear();
    r.statusQuoted = false;
    return r;
}

bool markRecordedPupils(const QString& path, int recordSize, int numberOffset, std::vector<bool>& numbers,
                        QString* error)
{
    QFile f(path);
    if (!f.exists()) return true;
    if (numbers.size() < std::size_t(kPupilCount)) numbers.resize(std::size_t(kPupilCount), false);
    QString reason;
    auto failed = [&] {
        if (error)
            *error = QStringLiteral("記録ファイル「%1」を読み込めません（%2）。")
                         .arg(QFileInfo(path).fileName(), reason);
        return false;
    };
    if (!openWithReason(f, QIODevice::ReadOnly, &reason)) return failed();
    errno = 0;
    const qint64 chunk = qint64(recordSize) * 4096;
    QByteArray pending;
    for (;;) {
        const QByteArray data = f.read(chunk);
        if (data.isEmpty()) break;
        pending += data;
        const qint64 whole = pending.size() / recordSize;
        for (qint64 k = 0; k < whole; ++k) {
            const qint16 n = qFromLittleEndian<qint16>(pending.constData() + k * recordSize + numberOffset);
            if (n >= 0 && n < kPupilCount) numbers[std::size_t(n)] = true;
        }
        pending.remove(0, whole * recordSize);
    }
    if (f.error() == QFileDevice::NoError) return true;
    reason = fileErrorText(errno, f, FileAccess::Read);
    return failed();
}
