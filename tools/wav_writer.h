#pragma once
#include <QByteArray>
#include <vector>

// A note: frequency in Hz (0 = rest) and length in seconds.
struct Note {
    double hz;
    double seconds;
};

// 16-bit mono PCM at 22 050 Hz of the notes, each with a soft attack and
// decay and a touch of the octave above for a bell-like colour.
QByteArray renderWav(const std::vector<Note>& notes, double volume = 0.35);
