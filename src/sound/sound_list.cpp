#include "sound/sound_list.h"

#include "app/folder_path.h"
#include "app/shared_state.h"
#include "app/text_file.h"

namespace {
const QString kEndOfGroup = QStringLiteral("*");
}

QString soundGroupName(int group)
{
    static const char16_t* const names[kSoundGroups + 1] = {
        u"", u"正解音1", u"正解音2", u"間違い音1", u"間違い音2", u"最高音1",
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
    const QString name = QStringLiteral("新音ファイル.txt");
    const QString path = nativePath(s.soundFolder + name);
    readSoundList(s, readTextFile(path, name), path);
}
