#pragma once
#include <QString>
#include <optional>

struct SharedState;

// Whether a finished run could be appended to the record file at `path`,
// found the way the append opens it (read and write; a missing file is
// created in its folder) without creating, changing or locking anything.
// Nothing when it could; otherwise why not, as the append would say it.
std::optional<QString> appendBlocker(const QString& path);

// The result file and, for the roster's pupils, the shared log: the first
// one a run could not be appended to gives the message the append would
// show after the run. Nothing when both can take a run.
std::optional<QString> recordFilesRefusal(const SharedState& s);
