// The roster reader.
//
// Decisions where the file is not as expected (nothing here may end the
// program except the home edition's capacity check, and nothing writes the file):
// - Neither 生徒用名簿.txt nor 生徒用名簿temp.txt present: the recovery step
//   does nothing, the reader lists no pupil (count 0) and returns a note
//   naming the missing file and its folder; the selection screen opens with
//   its empty list and shows the note. An unreadable file is noted the same
//   way, and so is a file without a single line (emptied by a failed save),
//   which would otherwise show an empty list without a word.
// - The file is read line by line, each line by the list-input convention, so
//   that a damaged line cannot shift the values of the lines after it. A line
//   with fewer than eight values, or whose number, birth year or one of the
//   two spare numbers is not a whole number of 16 bits, is skipped: it writes
//   no table entry and takes no position, and is reported in skippedLines.
//   Extra values after the eighth are ignored. Blank lines are skipped.
// - A number outside 1–5000 is skipped the same way. Pupil 0 is skipped too:
//   the record store never counts pupil 0, so such a pupil's runs would be
//   stored and never shown.
// - A status that is not a number (a quoted "済" for instance) is "any other
//   value": kept in the file, not listed. A quoted number counts as that number.
// - Two lines with the same number share every per-pupil entry (the later
//   line's name wins); both are listed.
// - The capacity check counts lines before they are read, as for every
//   status, so a skipped line after three listed pupils ends the program too.
// - Beyond 5000 listed positions further lines are skipped (the table's size).
#include "roster/roster_reader.h"

#include "base/file_error.h"
#include "base/folder_path.h"
#include "base/text_file.h"
#include "state/catalogue.h"
#include "state/services.h"
#include "state/shared_state.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {
const QString kRosterFile = QStringLiteral("生徒用名簿.txt");
const QString kRosterTempFile = QStringLiteral("生徒用名簿temp.txt");
constexpr int kHomeCapacity = 3;
constexpr int kPositions = kPupilCount - 1; // positions 1–5000

// Names read from a file in another encoding come out garbled without a
// word; the screen says why instead.
QString encodingNote(QByteArray bytes, const QString& fileName)
{
    const qsizetype stop = bytes.indexOf('\x1A');
    if (stop >= 0) bytes.truncate(stop);
    const QString resave = QStringLiteral("メモ帳などでシフトJIS（ANSI）を選んで保存し直してください。");
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QStringLiteral(
                   "名簿ファイル「%1」は UTF-8（BOM 付き）で保存されているため、名前が正しく表示されません。")
                   .arg(fileName) +
               resave;
    // Code page 932 text with any kana or kanji is never valid UTF-8.
    bool ascii = true;
    for (const char c : bytes) ascii = ascii && uchar(c) < 0x80;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString asUtf8 = utf8.decode(bytes); // decoding happens on conversion
    if (!ascii && !utf8.hasError())
        return QStringLiteral("名簿ファイル「%1」は UTF-8 で保存されているため、名前が正しく表示されません。")
                   .arg(fileName) +
               resave;
    qsizetype at = 0;
    if (cp932HasInvalidBytes(bytes, &at))
        return QStringLiteral("名簿ファイル「%1」の %2 行目に、シフトJIS（コードページ 932）にない文字があります。"
                              "名前が正しく表示されないときは、")
                   .arg(fileName)
                   .arg(bytes.left(at).count('\n') + 1) +
               resave;
    return {};
}

bool blankLine(const QString& line)
{
    for (const QChar c : line)
        if (c != u' ' && c != u'\t' && c != QChar(0x1A)) return false;
    return true;
}
} // namespace

QString rosterFilePath(const SharedState& s)
{
    return nativePath(s.dataFolder + (s.rosterFileMode == 1 ? kRosterFile : QStringLiteral("新名簿.txt")));
}

RosterReadResult readRosterTables(SharedState& s, QDate today, bool applyCapacity, const RosterListBuilder& builder)
{
    RosterReadResult result;
    RosterTables& t = s.roster;
    t.schoolYear = schoolYear(today, s.schoolYearStartMonth);

    const QString path = rosterFilePath(s);
    const QString fileName = QFileInfo(path).fileName();
    QFile f(path);
    QString reason;
    if (!openWithReason(f, QIODevice::ReadOnly, &reason)) {
        const QString where = QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(path).absolutePath()));
        result.missingNote = QFileInfo::exists(path)
                                 ? QStringLiteral("名簿ファイル「%1」を読み込めません（%2）。\r\n場所：%3")
                                       .arg(fileName, reason, where)
                                 : QStringLiteral("名簿ファイル「%1」がありません。\r\n場所：%2").arg(fileName, where);
        t.count = 0;
        return result;
    }
    const QByteArray bytes = f.readAll();
    f.close();
    const QString text = decodeTextFile(bytes);
    result.encodingNote = encodingNote(bytes, fileName);

    QStringList lines = text.split(u'\n');
    const bool capacity = applyCapacity && s.rosterFileMode == 1;
    int p = 0;
    bool anyLine = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(u'\r')) line.chop(1);
        if (blankLine(line)) continue;
        anyLine = true;
        const QString lineName = QStringLiteral("%1 行目：").arg(i + 1);

        ++p;
        if (capacity && p > kHomeCapacity) {
            result.capacityExceeded = true;
            return result;
        }
        if (p > kPositions) {
            result.skippedLines << lineName + QStringLiteral("名簿には 5000 人までしか載せられません");
            --p;
            continue;
        }
        RosterRecord r;
        QString reason;
        if (!parseRosterLine(line, r, &reason)) {
            result.skippedLines << lineName + reason;
            --p;
            continue;
        }
        if (r.number < 1 || r.number > kPositions) {
            result.skippedLines << lineName + QStringLiteral("番号 %1 は 1～5000 の範囲外です").arg(r.number);
            --p;
            continue;
        }
        int status = r.status();
        if (status == 2 && s.rosterStatusOption == 1) status = 0;

        const std::size_t n = std::size_t(r.number);
        if (t.entries.size() <= std::size_t(p)) t.entries.resize(std::size_t(p) + 1);
        t.entries[std::size_t(p)] = r;
        t.names[n] = r.name;
        t.birthYears[n] = r.birthYear;
        t.order[std::size_t(p)] = r.number;
        const int d = gradeOffset(t.schoolYear, r.birthYear);
        if (d >= 0 && d <= 10) t.gradeLabels[n] = gradeLabel(d);
        if (status != 0) {
            --p; // kept in the file, not listed: the next record takes this position
            continue;
        }
        if (builder) builder(r, gradeCode(d));
    }
    t.count = p;
    if (!anyLine) {
        result.missingNote = QStringLiteral("名簿ファイル「%1」に生徒が一人も書かれていません。\r\n場所：%2")
                                 .arg(fileName,
                                      QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(path).absolutePath())));
    }
    return result;
}

RosterReadResult readRoster(SharedState& s, Services& sv, const RosterListBuilder& builder)
{
    RosterReadResult result = readRosterTables(s, sv.clock.today(), true, builder);
    if (result.capacityExceeded) {
        sv.dialogs.message(QStringLiteral("家庭用は3人までしか登録できません"),
                           s.contentTitle.isEmpty() ? catalogue::kTitle : s.contentTitle);
        sv.end.request(1);
    }
    return result;
}

void restoreLeftoverRoster(SharedState& s)
{
    const QString path = nativePath(s.dataFolder + kRosterFile);
    {
        QFile f(path);
        if (f.open(QIODevice::ReadOnly)) return;
    }
    // QFile::rename never replaces an existing file: a roster that exists but
    // cannot be opened is left alone.
    QFile::rename(nativePath(s.dataFolder + kRosterTempFile), path);
}
