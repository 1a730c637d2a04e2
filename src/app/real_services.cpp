#include "app/real_services.h"

#include "app/screen.h"
#include "app/stage.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QProcess>

void MessageBoxDialogs::message(const QString& text, const QString& title)
{
    QWidget* parent = nullptr;
    if (stage_ && stage_->isVisible()) parent = stage_->current() ? static_cast<QWidget*>(stage_->current()) : stage_.data();
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    box.exec();
}

bool DetachedLauncher::startDetached(const QString& program, const QStringList& arguments)
{
    return QProcess::startDetached(program, arguments);
}

void StageProgramEnd::onRequest(int exitCode)
{
    if (stage_) stage_->unloadAll();
    QCoreApplication::exit(exitCode);
}
