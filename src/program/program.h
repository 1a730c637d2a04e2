#pragma once
#include "program/navigation.h"
#include "program/real_services.h"
#include "program/startup.h"
#include "sound/screen_sound_device.h"
#include "sound/sdl_sound_device.h"
#include "state/shared_state.h"
#include "ui/app.h"

#include <QTranslator>
#include <memory>

// Loads Qt's Japanese translation into `translator` and installs it; false
// when it is not there (the dialogs then speak English).
bool installQtJapanese(QTranslator& translator);

// The running program with its real services.
class Program {
public:
    Program();
    ~Program();
    bool startUp(const QString& nativeProgramFolder);
    int exitCode() const { return end_.exitCode(); }

private:
    // Qt's own texts (dialogs, message box buttons) in Japanese.
    QTranslator qtTexts_;
    SharedState state_;
    SystemClock clock_;
    SdlSoundDevice sdlSound_;
    ScreenSoundDevice sound_{sdlSound_};
    MessageBoxDialogs dialogs_;
    DetachedLauncher launcher_;
    StageProgramEnd end_;
    Services services_{clock_, sound_, dialogs_, launcher_, end_};
    std::unique_ptr<ProgramStage> stage_;
    // Held from start-up to the end of the process.
    InstanceLock lock_;
};
