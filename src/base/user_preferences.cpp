#include "base/user_preferences.h"

#include <QSettings>
#include <memory>

namespace {
constexpr auto kSoundKey = "sound/on";

std::unique_ptr<QSettings> userSettings()
{
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("solmea"),
                                       QStringLiteral("solmea"));
}
} // namespace

namespace user_preferences {

bool soundOn()
{
    // Anything but a stored "false" is on: a damaged file never silences a
    // classroom without anyone choosing it.
    return userSettings()->value(kSoundKey).toString() != QStringLiteral("false");
}

void setSoundOn(bool on)
{
    const std::unique_ptr<QSettings> settings = userSettings();
    settings->setValue(kSoundKey, on);
    // Written now: the program may be ended by a kill before QSettings would
    // write it by itself.
    settings->sync();
}

} // namespace user_preferences
