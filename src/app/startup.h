#pragma once
#include <QString>

struct App;

// The start-up sequence: background colour, settings, first screen. Takes
// the executable's folder in native form. On a file error it shows the
// message, requests the end of the program with exit code 1 and returns false.
bool startUp(App& app, const QString& nativeProgramFolder);
