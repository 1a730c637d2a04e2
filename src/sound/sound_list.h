#pragma once
#include <QString>

struct SharedState;

// The fixed names of the ten sound groups.
QString soundGroupName(int group);
// Reads 新音ファイル.txt from the sound folder into the state's sound table.
// Throws FileError when the file is missing. Each group is read up to its
// "*": at most twenty variants are kept (a longer group counts 20), and a
// group cut off by the end of the file keeps the variants read so far.
void loadSoundList(SharedState& s);
// The same, from text already read.
void readSoundList(SharedState& s, const QString& text, const QString& path);

// The two supervised groups (正解音2 for a right answer, 間違い音2 for a
// wrong one) must each name at least one readable .wav file in the sound
// folder: otherwise the fourth answer of the first run ends the program.
// Throws FileError naming the sound list and the group, and what is wrong
// with the list's encoding when that is the likely cause.
void checkAnswerCues(const SharedState& s);
