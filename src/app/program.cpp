#include "app/program.h"

#include "app/fonts.h"
#include "app/startup.h"

#include <QApplication>

Program::Program()
{
    installFontSubstitutions();
    // The Japanese desktop's UI font for everything the screens do not set
    // themselves (menus, message boxes, dialogs): Japanese text in a Latin
    // default font would be drawn through a search for a fallback font.
    QApplication::setFont(designFont(kPGothic, 9));
    stage_ = std::make_unique<Stage>(state_, services_);
    dialogs_.setStage(stage_.get());
    end_.setStage(stage_.get());
}

Program::~Program() = default;

bool Program::startUp(const QString& nativeProgramFolder)
{
    return ::startUp(stage_->app(), nativeProgramFolder, &lock_);
}
