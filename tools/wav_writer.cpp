#include "wav_writer.h"

#include <QtEndian>
#include <cmath>
#include <numbers>

namespace {
void put32(QByteArray& b, quint32 v)
{
    char c[4];
    qToLittleEndian(v, c);
    b.append(c, 4);
}
void put16(QByteArray& b, quint16 v)
{
    char c[2];
    qToLittleEndian(v, c);
    b.append(c, 2);
}
} // namespace

QByteArray renderWav(const std::vector<Note>& notes, double volume)
{
    constexpr int rate = 22050;
    std::vector<qint16> samples;
    for (const Note& n : notes) {
        const int count = int(n.seconds * rate);
        for (int i = 0; i < count; ++i) {
            const double t = double(i) / rate;
            double v = 0;
            if (n.hz > 0) {
                const double attack = std::min(1.0, t / 0.01);
                const double decay = std::exp(-3.0 * t / n.seconds);
                const double release = std::min(1.0, (n.seconds - t) / 0.02);
                const double w = 2 * std::numbers::pi * n.hz * t;
                v = (std::sin(w) + 0.25 * std::sin(2 * w)) / 1.25 * attack * decay * release;
            }
            samples.push_back(qint16(std::lround(v * volume * 32767)));
        }
    }
    const quint32 dataBytes = quint32(samples.size() * 2);
    QByteArray b;
    b.append("RIFF");
    put32(b, 36 + dataBytes);
    b.append("WAVEfmt ");
    put32(b, 16);
    put16(b, 1); // PCM
    put16(b, 1); // mono
    put32(b, rate);
    put32(b, rate * 2); // bytes per second
    put16(b, 2);        // block align
    put16(b, 16);       // bits per sample
    b.append("data");
    put32(b, dataBytes);
    for (qint16 s : samples) put16(b, quint16(s));
    return b;
}
