#pragma once
#include "base/clock.h"
#include "base/dialogs.h"
#include "base/program_end.h"
#include "base/program_launcher.h"
#include "sound/sound_device.h"

// The program's ways out to the world, each replaceable by a double in tests.
struct Services {
    Clock& clock;
    SoundDevice& sound;
    Dialogs& dialogs;
    ProgramLauncher& launcher;
    ProgramEnd& end;
};
