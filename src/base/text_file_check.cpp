#include "base/text_file_check.h"

#include "base/level_table.h"
#include "base/text_file.h"
#include "base/text_util.h"

#include <algorithm>

namespace {

constexpr int kLevelColumns = 12;

// The length of the line end at `i` (CR LF, CR or LF), 0 when there is none.
template <typename Text> qsizetype lineEndAt(const Text& t, qsizetype i)
{
    if (i >= t.size()) return 0;
    if (t[i] == '\r') return i + 1 < t.size() && t[i + 1] == '\n' ? 2 : 1;
    return t[i] == '\n' ? 1 : 0;
}

int lineEndsIn(const QString& text, qsizetype from, qsizetype to)
{
    int n = 0;
    for (qsizetype i = from; i < to;) {
        const qsizetype end = lineEndAt(text, i);
        n += end > 0;
        i += std::max<qsizetype>(end, 1);
    }
    return n;
}

} // namespace

QList<TextFileFinding> encodingFindings(const QByteArray& bytes)
{
    const qsizetype stop = bytes.indexOf('\x1A');
    const QByteArray content = stop < 0 ? bytes : bytes.left(stop);
    QList<TextFileFinding> found;
    const qsizetype bom = content.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    if (bom)
        found.append(
            {1, QStringLiteral("先頭に UTF-8 のバイト順マーク（EF BB BF）があります。最初の値が正しく読まれません。"
                               "シフトJIS（ANSI）で保存し直してください。")});
    qsizetype i = bom;
    for (int line = 1;; ++line) {
        const qsizetype begin = line == 1 ? 0 : i; // the mark is part of the first line
        const qsizetype from = i;
        while (i < content.size() && lineEndAt(content, i) == 0) ++i;
        qsizetype at = 0;
        if (cp932HasInvalidBytes(content.mid(from, i - from), &at)) {
            const qsizetype offset = from + at;
            found.append(
                {line, QStringLiteral("シフトJIS（コードページ 932）にないバイト 0x%1 があります（行の %2 バイト目）。"
                                      "この文字は「\uFFFD」として読まれます。")
                           .arg(QString::number(uchar(content[offset]), 16).toUpper().rightJustified(2, u'0'))
                           .arg(offset - begin + 1)});
        }
        if (i >= content.size()) break;
        i += lineEndAt(content, i);
    }
    return found;
}

QList<TextFileFinding> levelTableRowFindings(const QString& text)
{
    QList<TextFileFinding> found;
    ListReader in(text, QString(), QString());
    int line = 1;
    qsizetype counted = 0; // line ends before here are in `line`
    for (int level = 0; level < kLevelCount && !in.atEnd(); ++level) {
        // The row starts after blanks and empty lines, as its first value does.
        qsizetype start = in.position();
        while (start < text.size() && (isBlank(text[start]) || lineEndAt(text, start) > 0)) ++start;
        line += lineEndsIn(text, counted, start);
        counted = start;
        int values = 0;
        do {
            in.readValue();
            ++values;
        } while (!in.lastValueEndedLine() && !in.atEnd());
        if (values < kLevelColumns)
            found.append({line, QStringLiteral("レベル %1 の行に値が %2 個しかありません（12 個必要です）。"
                                               "値は続けて読まれるため、これより後の値がすべて前にずれます。")
                                    .arg(level)
                                    .arg(values)});
        else if (values > kLevelColumns)
            found.append(
                {line, QStringLiteral("レベル %1 の行に値が %2 個あります（12 個のはずです）。"
                                      "余った値が次のレベルの値として読まれ、これより後の値がすべて後ろにずれます。")
                           .arg(level)
                           .arg(values)});
    }
    return found;
}
