#pragma once

// What one user of the PC chooses for themselves, kept in that user's own
// configuration folder ($XDG_CONFIG_HOME/solmea/solmea.ini), never in the
// installation's files, which every user of the installation shares.
namespace user_preferences {
// Whether the cues are heard; on until the user turns them off.
bool soundOn();
void setSoundOn(bool on);
} // namespace user_preferences
