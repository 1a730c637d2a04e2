#include "sound/sound_list.h"

#include "base/file_error.h"
#include "base/folder_path.h"
#include "base/text_file.h"
#include "base/text_file_check.h"
#include "state/shared_state.h"

#include <QFile>
#include <QFileInfo>

namespace {
const QString kEndOfGroup = QStringLiteral("*");
const QString kListName = QStringLiteral("新音ファイル.txt");

bool readableFile(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() && info.isReadable();
}
} // namespace

QString soundGroupName(int group)
{
    static const char16_t* const names[kSoundGroups + 1] = {
        u"",        u"正解音1",     u"正解音2",     u"間違い音1",   u"間違い音2", u"最高音1",
        u"最高音2", u"自己最高音1", u"自己最高音2", u"自己最高音3", u"不合格音1",
    };
    return group >= 1 && group <= kSoundGroups ? QString::fromUtf16(names[group]) : QString();
}

void readSoundList(SharedState& s, const QString& text, const QString& path)
{
    for (int g = 1; g <= kSoundGroups; ++g) s.sound.groups[g].name = soundGroupName(g);
    ListReader in(text, QStringLiteral("新音ファイル.txt"), path);
    while (!in.atEnd()) {
        // A value that names no group (an unknown group's name, its variants
        // and its "*") is passed over one value at a time.
        const QString v = in.readText();
        for (int g = 1; g <= kSoundGroups; ++g) {
            SoundGroup& group = s.sound.groups[g];
            if (group.name != v) continue;
            // A group listed again replaces what was read for it before.
            group.variants.fill(QString());
            int read = 0;
            // Read through the closing "*": a group of exactly twenty variants
            // then counts 20, and a longer one keeps its first twenty. A list
            // that ends before the "*" keeps what it has read.
            while (!in.atEnd()) {
                const QString variant = in.readText();
                if (variant == kEndOfGroup) break;
                if (read < kSoundVariants) group.variants[++read] = variant;
            }
            group.count = read;
            break; // the names differ, so no other group can match this value
        }
    }
}

void loadSoundList(SharedState& s)
{
    const QString path = nativePath(s.soundFolder + kListName);
    readSoundList(s, readTextFile(path, kListName), path);
}

void checkAnswerCues(const SharedState& s)
{
    const QString listPath = nativePath(s.soundFolder + kListName);
    for (const auto& [group, use] : {std::pair{2, u"正解のとき"}, std::pair{4, u"まちがえたとき"}}) {
        const SoundGroup& g = s.sound.groups[group];
        QStringList missing;
        bool found = false;
        for (int i = 1; i <= g.count && !found; ++i) {
            const QString file = g.variants[i] + QStringLiteral(".wav");
            found = !g.variants[i].isEmpty() && readableFile(nativePath(s.soundFolder + file));
            // A few names, each cut short: the message must stay readable.
            if (!found && missing.size() < 3) missing << (file.size() > 40 ? file.left(40) + u'…' : file);
        }
        if (found) continue;
        QString reason = g.count == 0
                             ? QStringLiteral("%1の音の組「%2」がないか、音ファイルの名前が一つも書かれていません。")
                                   .arg(QString::fromUtf16(use), g.name)
                             : QStringLiteral("%1の音の組「%2」の音ファイル（%3）が、音フォルダにないか読めません。")
                                   .arg(QString::fromUtf16(use), g.name, missing.join(QStringLiteral("、")));
        // A list saved in another encoding loses its group names: say so.
        QFile list(listPath);
        if (list.open(QIODevice::ReadOnly)) {
            const QList<TextFileFinding> findings = encodingFindings(list.readAll());
            if (!findings.isEmpty())
                reason += QStringLiteral("\r\n%1 行目：%2").arg(findings.first().line).arg(findings.first().text);
        }
        throw FileError(kListName, listPath, reason);
    }
}
