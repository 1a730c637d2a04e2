// Any bytes as 新音ファイル.txt: the sound list loader reads to the end
// without reading past it, and every group keeps at most twenty variants.
#include "fuzz_support.h"

#include "base/text_file.h"
#include "sound/sound_list.h"
#include "state/shared_state.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static SharedState s; // one for the whole run: making one costs more than a reading
    s.sound = SoundState();
    readSoundList(s, decodeTextFile(inputBytes(data, size)), QStringLiteral("/fuzz/新音ファイル.txt"));
    for (int g = 1; g <= kSoundGroups; ++g) {
        const SoundGroup& group = s.sound.groups[g];
        FUZZ_CHECK(group.name == soundGroupName(g));
        FUZZ_CHECK(group.count >= 0 && group.count <= kSoundVariants);
        for (int v = 1; v <= group.count; ++v) FUZZ_CHECK(group.variants[v] != QStringLiteral("*"));
        for (int v = group.count + 1; v <= kSoundVariants; ++v) FUZZ_CHECK(group.variants[v].isEmpty());
    }
    return 0;
}
