#pragma once
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// Writes a small installation (layout 0) into a temporary folder:
//   <root>/共通データ.txt, 生徒用名簿.txt
//   <root>/ソルメア/設定.txt, タイム回数データ.txt
//   <root>/音フォルダ/新音ファイル.txt and a stand-in .wav for each cue
// Texts are given as UTF-8 and written in code page 932 with CRLF line ends.
struct TestInstallation {
    QTemporaryDir dir;
    QString root() const { return dir.path(); }
    QString programFolder() const { return dir.path() + QStringLiteral("/ソルメア"); }
    QString soundFolder() const { return dir.path() + QStringLiteral("/音フォルダ"); }

    // Writes `text` (lines joined with CRLF) to root-relative `relPath`.
    void write(const QString& relPath, const QString& text) const;
    void writeBytes(const QString& relPath, const QByteArray& bytes) const;
    QString path(const QString& relPath) const { return dir.path() + u'/' + relPath; }

    // A complete, valid installation.
    void writeDefaults() const;

    static QString defaultLevelTable();
};
