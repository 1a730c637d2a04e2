// Writes a result file of a given number of records, for timing the records
// tool on large files:
//   make-result-file COUNT FILE [--damaged EVERY]
// 3000 pupils, four levels, two months before 8 December 2026, one run in 50
// out of time. With --damaged, every EVERY-th record has pupil number 0,
// which the loader skips and `solmea-records check` lists.
#include "records/record_format.h"
#include "records/scores.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    bool ok = args.size() == 2 || (args.size() == 4 && args[2] == u"--damaged");
    const qint64 count = ok ? args[0].toLongLong(&ok) : 0;
    qint64 damagedEvery = 0;
    if (ok && args.size() == 4) damagedEvery = args[3].toLongLong(&ok);
    if (!ok || count < 0 || damagedEvery < 0) {
        std::fputs("usage: make-result-file COUNT FILE [--damaged EVERY]\n", stderr);
        return 2;
    }
    QFile f(args[1]);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(args[1]));
        return 2;
    }
    const double today = double(daySerial(QDate(2026, 12, 8)));
    QByteArray chunk;
    quint32 seed = 7;
    for (qint64 k = 1; k <= count; ++k) {
        seed = seed * 1664525u + 1013904223u;
        ResultRecord r;
        r.date = today - double((seed >> 8) % 60);
        r.time = double((seed >> 4) % 86400) / 86400.0;
        r.pupilNumber = qint16(1 + (seed >> 12) % 3000u);
        if (damagedEvery > 0 && k % damagedEvery == 0) r.pupilNumber = 0;
        r.level = qint16(1 + (seed >> 3) % 4);
        r.score = (seed % 50 == 0) ? score::kOutOfTime : qint32(10 + (seed >> 16) % 200);
        r.siteCode = QStringLiteral("12345");
        chunk += encodeResultRecord(r);
        if (chunk.size() >= (1 << 20)) {
            if (f.write(chunk) != chunk.size()) return 2;
            chunk.clear();
        }
    }
    if (f.write(chunk) != chunk.size() || !f.flush()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(args[1]));
        return 2;
    }
    return 0;
}
