#pragma once
#include <QString>

// Folder strings keep the installation's own form: components separated by
// "\" and ".." left in place, so that concatenations such as
// programFolder + "\..\files\" read as written. Only when a file is opened is
// such a string turned back into a native path.
QString toFolderString(const QString& nativeFolder);
QString nativePath(const QString& folderString);
// The text after the last "\".
QString lastFolderComponent(const QString& folderString);
