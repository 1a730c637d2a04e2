#pragma once
#include "roster/roster_record.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>

struct SharedState;
struct Services;

// Hands one listed pupil, with its grade code, to the pupil list.
using RosterListBuilder = std::function<void(const RosterRecord& record, const QString& gradeCode)>;

struct RosterReadResult {
    // The home edition's capacity was exceeded (readRoster has then shown the
    // message and requested the end of the program).
    bool capacityExceeded = false;
    // The roster file could not be read, or holds no line at all: which file
    // and why, for the screen to show beside its empty list. Empty otherwise.
    QString missingNote;
    // Lines that were not used, each "N 行目：reason".
    QStringList skippedLines;
    // The file is not in code page 932 (a UTF-8 byte-order mark, UTF-8 text,
    // bytes code page 932 does not have), so names show garbled: which file
    // and how to mend it. Empty otherwise.
    QString encodingNote;
};

// 生徒用名簿.txt (rosterFileMode 1) or 新名簿.txt (0) in the data folder.
QString rosterFilePath(const SharedState& s);

// Reads the roster into the shared roster tables and hands every listed pupil
// to `builder`, in file order. A fourth pupil in the home edition shows
// "家庭用は3人までしか登録できません" and ends the program.
RosterReadResult readRoster(SharedState& s, Services& sv, const RosterListBuilder& builder);
// The reading itself, for a given day; with `applyCapacity` false no pupil
// count ends anything (the solmea-records tool lists every pupil).
RosterReadResult readRosterTables(SharedState& s, QDate today, bool applyCapacity, const RosterListBuilder& builder);

// When 生徒用名簿.txt cannot be opened, a 生徒用名簿temp.txt left in the data
// folder takes its name.
void restoreLeftoverRoster(SharedState& s);
