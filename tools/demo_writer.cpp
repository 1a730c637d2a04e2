// Writes the demo installation from its UTF-8 sources:
//   solmea-demo-writer SOURCE_DIR OUTPUT_DIR
// Every .txt is re-encoded in code page 932 with CRLF line ends, and the
// sound cues are generated into the sound folder. Existing record files in
// OUTPUT_DIR are left alone.
#include "base/file_write.h"
#include "base/text_file.h"
#include "wav_writer.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <cstdio>

namespace {
bool writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QString error;
    if (!replaceFileAtomic(path, bytes, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return false;
    }
    return true;
}

// Note frequencies.
constexpr double C5 = 523.25, D5 = 587.33, E5 = 659.26, F5 = 698.46, G5 = 783.99, A5 = 880.0, B5 = 987.77, C6 = 1046.5,
                 E6 = 1318.5, G6 = 1568.0, A4 = 440.0, E4 = 329.63, C4 = 261.63, G4 = 392.0;
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: solmea-demo-writer SOURCE_DIR OUTPUT_DIR\n");
        return 2;
    }
    const QString src = QString::fromLocal8Bit(argv[1]);
    const QString out = QString::fromLocal8Bit(argv[2]);
    bool ok = true;
    QDirIterator it(src, {QStringLiteral("*.txt")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        if (it.fileName() == QLatin1String("CMakeLists.txt")) continue; // the build's own file
        QFile in(file);
        if (!in.open(QIODevice::ReadOnly)) {
            ok = false;
            continue;
        }
        QString text = QString::fromUtf8(in.readAll());
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        text.replace(u'\n', QStringLiteral("\r\n"));
        ok &= writeFile(out + u'/' + QDir(src).relativeFilePath(file), encodeCp932(text));
    }

    const QString sounds = out + QStringLiteral("/音フォルダ/");
    const struct {
        const char16_t* name;
        std::vector<Note> notes;
    } cues[] = {
        {u"正解1", {{C6, 0.09}, {E6, 0.16}}},
        {u"正解2", {{G5, 0.09}, {C6, 0.16}}},
        {u"正解3", {{E5, 0.08}, {A5, 0.08}, {C6, 0.12}}},
        {u"間違い1", {{E4, 0.14}, {C4, 0.24}}},
        {u"間違い2", {{A4, 0.12}, {E4, 0.22}}},
        {u"自己最高1", {{C5, 0.12}, {E5, 0.12}, {G5, 0.12}, {C6, 0.4}}},
        {u"不合格1", {{G4, 0.2}, {E4, 0.2}, {C4, 0.4}}},
        {u"最高1", {{C5, 0.1}, {E5, 0.1}, {G5, 0.1}, {C6, 0.15}, {G5, 0.1}, {C6, 0.15}, {E6, 0.15}, {G6, 0.5}}},
        {u"合格",
         {{G5, 0.15},
          {G5, 0.15},
          {G5, 0.15},
          {E5, 0.3},
          {F5, 0.15},
          {F5, 0.15},
          {F5, 0.15},
          {D5, 0.3},
          {E5, 0.15},
          {G5, 0.15},
          {B5, 0.15},
          {C6, 0.7}}},
    };
    for (const auto& cue : cues)
        ok &= writeFile(sounds + QString::fromUtf16(cue.name) + QStringLiteral(".wav"), renderWav(cue.notes));
    return ok ? 0 : 1;
}
