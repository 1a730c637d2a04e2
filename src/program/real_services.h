#pragma once
#include "base/dialogs.h"
#include "base/program_end.h"
#include "base/program_launcher.h"

#include <QPointer>

class Stage;

class MessageBoxDialogs final : public Dialogs {
public:
    void setStage(Stage* stage) { stage_ = stage; }
    void message(const QString& text, const QString& title, Icon icon = Icon::None) override;
    bool ask(const QString& text, const QString& title) override;
    bool choosePrinter(QPrinter& printer, QWidget* parent) override;
    void previewPrint(QPrinter& printer, QWidget* parent, const std::function<void(QPrinter*)>& paint) override;
    QString chooseSaveFile(QWidget* parent, const QString& caption, const QString& suggested,
                           const QString& filter) override;

private:
    QPointer<Stage> stage_;
};

class DetachedLauncher final : public ProgramLauncher {
public:
    bool startDetached(const QString& program, const QStringList& arguments) override;
};

// Closes every screen and leaves the event loop with the exit code.
class StageProgramEnd final : public ProgramEnd {
public:
    void setStage(Stage* stage) { stage_ = stage; }

protected:
    void onRequest(int exitCode) override;

private:
    QPointer<Stage> stage_;
};
