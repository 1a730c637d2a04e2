#pragma once
#include <QString>
#include <array>

constexpr int kSoundGroups = 10;
constexpr int kSoundVariants = 20;

// One group of the sound list: its fixed name and up to twenty variants.
struct SoundGroup {
    QString name;
    std::array<QString, kSoundVariants + 1> variants; // 1..20; index 0 unused
    int count = 0;
};

struct SoundState {
    // The user's choice: off, no cue is sent to the device (which then is
    // never opened) and none counts as failed.
    bool on = true;
    std::array<SoundGroup, kSoundGroups + 1> groups; // 1..10; index 0 unused
    QString lastMciCommand;
    QString lastMciReply;
    QString lastMciResult;
    qint16 soundFailCount = 0;
};
