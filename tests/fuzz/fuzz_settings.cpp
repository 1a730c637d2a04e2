// Any bytes as the three settings files of an installation (設定.txt,
// 共通データ.txt and タイム回数データ.txt, split at the byte 0xFF, which no
// code page 932 text holds): start-up's reading of them either fills the
// state or stops with a FileError, and the point factors of the level table
// and the organisation line keep their rules.
#include "fuzz_support.h"

#include "base/file_error.h"
#include "base/folder_path.h"
#include "base/point_factor.h"
#include "base/text_file.h"
#include "state/settings.h"
#include "state/shared_state.h"

#include <QDir>
#include <cmath>

namespace {

void pointFactorKeepsItsText(const QString& text)
{
    const PointFactor f = PointFactor::fromText(text);
    FUZZ_CHECK(PointFactor::fromText(f.text()) == f);
    // floor(points × factor): never above the product, less than one below it.
    for (const qint64 points : {0, 1, 4, 55}) {
        const double exact = double(points) * f.value();
        const qint64 applied = f.apply(points);
        const double slack = 1e-9 + std::abs(exact) * 1e-12; // value() is a double
        FUZZ_CHECK(double(applied) <= exact + slack && double(applied) > exact - 1 - slack);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = inputBytes(data, size);
    const QList<QByteArray> parts = bytes.split('\xFF');
    const QByteArray settings = parts.value(0), common = parts.value(1), levels = parts.value(2);

    // The level table alone, and every value of it as a point factor.
    static SharedState s; // one for the whole run: making one costs more than a reading
    {
        s.levelTable = LevelTable{};
        const QString text = decodeTextFile(levels);
        try {
            readLevelTable(s, text, QStringLiteral("/fuzz/タイム回数データ.txt"));
        } catch (const FileError& e) {
            FUZZ_CHECK(e.message().contains(QStringLiteral("タイム回数データ.txt")));
        }
        ListReader in(text, QString(), QString());
        for (int i = 0; i < 64 && !in.atEnd(); ++i) pointFactorKeepsItsText(in.readText());
    }

    // The organisation line: the site code and the name are the line.
    {
        const QString line = decodeTextFile(common);
        QString site, name;
        splitOrganisationLine(line, site, name);
        FUZZ_CHECK(site + name == line && site.size() <= 5);
    }

    // The whole reading as start-up does it, on files in a folder.
    const QString root = scratchFolder().path();
    const QString program = root + QStringLiteral("/ソルメア");
    QDir().mkpath(program);
    writeFile(program + QStringLiteral("/設定.txt"), settings);
    writeFile(root + QStringLiteral("/共通データ.txt"), common);
    writeFile(program + QStringLiteral("/タイム回数データ.txt"), levels);
    s.programFolder = toFolderString(program);
    try {
        loadInstallationSettings(s);
        FUZZ_CHECK(s.siteCode.size() <= 5);
        FUZZ_CHECK(s.settingsOtherValues.size() == 9 && s.commonDataOtherValues.size() == 7);
    } catch (const FileError& e) {
        FUZZ_CHECK(!e.message().isEmpty() && !e.fileName().isEmpty());
    }
    return 0;
}
