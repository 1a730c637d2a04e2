#include "program/program.h"

#include "program/startup.h"
#include "ui/fonts.h"

#include <QApplication>
#include <QLibraryInfo>

bool installQtJapanese(QTranslator& translator)
{
    // The file dialog of "PDF保存", the print and preview dialogs and the
    // message boxes' buttons read as on a Japanese desktop, whatever the
    // session's language (qt6-translations-l10n).
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    if (!translator.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    return QCoreApplication::installTranslator(&translator);
}

Program::Program()
{
    installQtJapanese(qtTexts_);
    installFontSubstitutions();
    // The Japanese desktop's UI font for everything the screens do not set
    // themselves (menus, message boxes, dialogs): Japanese text in a Latin
    // default font would be drawn through a search for a fallback font.
    QApplication::setFont(designFont(kPGothic, 9));
    stage_ = std::make_unique<ProgramStage>(state_, services_);
    dialogs_.setStage(stage_.get());
    end_.setStage(stage_.get());
}

Program::~Program() = default;

bool Program::startUp(const QString& nativeProgramFolder)
{
    return ::startUp(stage_->app(), nativeProgramFolder, &lock_);
}
