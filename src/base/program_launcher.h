#pragma once
#include <QString>
#include <QStringList>

// Starts another program of the installation without waiting for it.
class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;
    virtual bool startDetached(const QString& program, const QStringList& arguments) = 0;
};
