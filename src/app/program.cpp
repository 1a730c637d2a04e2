#include "app/program.h"

#include "app/fonts.h"
#include "app/startup.h"

Program::Program()
{
    installFontSubstitutions();
    stage_ = std::make_unique<Stage>(state_, services_);
    dialogs_.setStage(stage_.get());
    end_.setStage(stage_.get());
}

Program::~Program() = default;

bool Program::startUp(const QString& nativeProgramFolder)
{
    return ::startUp(stage_->app(), nativeProgramFolder, &lock_);
}
