#include "app/startup.h"

#include "app/app.h"
#include "app/catalogue.h"
#include "app/dispatch.h"
#include "app/file_error.h"
#include "app/folder_path.h"
#include "app/settings.h"

bool startUp(App& app, const QString& nativeProgramFolder)
{
    SharedState& s = app.state;
    s.backgroundColour = 0x008080;
    s.programFolder = toFolderString(nativeProgramFolder);
    try {
        loadSettings(s);
    } catch (const FileError& e) {
        app.services.dialogs.message(e.message(), catalogue::kTitle + QStringLiteral(" - 起動できません"));
        app.services.end.request(1);
        return false;
    }
    showNameSelection(app);
    return true;
}
