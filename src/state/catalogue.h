#pragma once
#include <QString>

struct SharedState;

// What is particular to this title: its name, its four levels, the level that
// completes the course.
namespace catalogue {
inline const QString kTitle = QStringLiteral("ソルメア");
constexpr int kOfferedLevels = 4;
constexpr int kFinalLevel = 4;
} // namespace catalogue

void setCatalogueStartValues(SharedState& s);
// Steps 1–3 of opening the lobby: level count, final level, names, timed flags.
void setLobbyLevels(SharedState& s);
// Zeroes the per-run state before a new run.
void resetRunState(SharedState& s);
// A practice level's name contains "練"; its runs are not stored.
bool isPracticeLevel(const SharedState& s, int level);
