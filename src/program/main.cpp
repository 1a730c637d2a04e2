#include "program/program.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    Program program;
    if (!program.startUp(QCoreApplication::applicationDirPath())) return program.exitCode();
    return application.exec();
}
