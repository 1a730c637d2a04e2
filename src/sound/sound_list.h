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
