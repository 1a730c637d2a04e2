#include "support/installation.h"

#include "base/text_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

void TestInstallation::writeBytes(const QString& relPath, const QByteArray& bytes) const
{
    const QString p = path(relPath);
    QDir().mkpath(QFileInfo(p).absolutePath());
    QFile f(p);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
}

void TestInstallation::write(const QString& relPath, const QString& text) const
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(u'\n', QStringLiteral("\r\n"));
    writeBytes(relPath, encodeCp932(t));
}

QString TestInstallation::defaultLevelTable()
{
    return QStringLiteral("0,0,0,0,1,0,0,7,30,0,0,0\n"
                          "40,60,100,5,1,0,0,7,30,0,0,0\n"
                          "45,70,100,5,1.5,0,0,7,30,0,0,0\n"
                          "60,90,120,5,0.7,0,0,7,30,0,0,0\n"
                          "60,90,150,5,2,0,0,7,30,0,0,0\n");
}

void TestInstallation::writeDefaults() const
{
    write(QStringLiteral("ソルメア/設定.txt"), QStringLiteral("0,0,0,0,0,0,0,0,0,0\n"));
    write(QStringLiteral("共通データ.txt"), QStringLiteral("4\n\"12345テスト教室\"\n0\n0\n0\n0\n0\n0\n0\n0\n"));
    write(QStringLiteral("ソルメア/タイム回数データ.txt"), defaultLevelTable());
    write(QStringLiteral("生徒用名簿.txt"), QStringLiteral("1,2017,0,0,\"やまだ　はなこ\",0,\"\",\"\"\n"
                                                           "2,2015,0,0,\"すずき　たろう\",0,\"\",\"\"\n"));
    write(QStringLiteral("音フォルダ/新音ファイル.txt"),
          QStringLiteral("正解音2\nseikai1\nseikai2\n*\n間違い音2\nmachigai1\n*\n"
                         "自己最高音2\njiko1\n*\n不合格音1\nfugoukaku1\n*\n"));
    // Readable cue files for start-up's check; the recording sound device of
    // the tests never opens them (the end-to-end tests write real tones).
    for (const char* cue : {"seikai1", "seikai2", "machigai1", "jiko1", "fugoukaku1", "最高1", "合格"})
        writeBytes(QStringLiteral("音フォルダ/%1.wav").arg(QString::fromUtf8(cue)), "RIFF");
}
