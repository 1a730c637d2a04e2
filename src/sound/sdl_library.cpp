#include "sound/sdl_library.h"

#include <QLibrary>

namespace {

struct Loaded {
    SdlLibrary api;
    bool ok = false;
    QString error;

    Loaded()
    {
        // The versioned name first: the run-time package has no plain libSDL2.so.
        QLibrary lib(QStringLiteral("SDL2-2.0"), 0);
        if (!lib.load()) {
            lib.setFileName(QStringLiteral("SDL2"));
            if (!lib.load()) {
                error = QStringLiteral("音声のライブラリ（SDL2）を読み込めません：%1").arg(lib.errorString());
                return;
            }
        }
#define SOLMEA_SDL_RESOLVE(name)                                                                                       \
    api.name = reinterpret_cast<decltype(api.name)>(lib.resolve(#name));                                               \
    if (!api.name) {                                                                                                   \
        error = QStringLiteral("音声のライブラリ（SDL2）に %1 がありません。").arg(QLatin1String(#name));              \
        return;                                                                                                        \
    }
        SOLMEA_SDL_FUNCTIONS(SOLMEA_SDL_RESOLVE)
#undef SOLMEA_SDL_RESOLVE
        ok = true; // the library stays loaded for the life of the process
    }
};

} // namespace

const SdlLibrary* sdlLibrary(QString* error)
{
    static const Loaded loaded;
    if (!loaded.ok && error) *error = loaded.error;
    return loaded.ok ? &loaded.api : nullptr;
}
