#pragma once
#include <QString>
#include <SDL2/SDL.h>

// SDL2 is loaded when the first sound plays, not when the program starts:
// Debian's SDL2 brings some thirty libraries (sound servers, codecs, Wayland)
// whose loading and linking would delay the first screen.
#define SOLMEA_SDL_FUNCTIONS(F)                                                                                        \
    F(SDL_BuildAudioCVT)                                                                                               \
    F(SDL_ClearQueuedAudio)                                                                                            \
    F(SDL_CloseAudioDevice)                                                                                            \
    F(SDL_ConvertAudio)                                                                                                \
    F(SDL_Delay)                                                                                                       \
    F(SDL_FreeWAV)                                                                                                     \
    F(SDL_GetAudioDeviceStatus)                                                                                        \
    F(SDL_GetError)                                                                                                    \
    F(SDL_GetQueuedAudioSize)                                                                                          \
    F(SDL_InitSubSystem)                                                                                               \
    F(SDL_LoadWAV_RW)                                                                                                  \
    F(SDL_OpenAudioDevice)                                                                                             \
    F(SDL_PauseAudioDevice)                                                                                            \
    F(SDL_QueueAudio)                                                                                                  \
    F(SDL_QuitSubSystem)                                                                                               \
    F(SDL_RWFromConstMem)                                                                                              \
    F(SDL_SetHint)

struct SdlLibrary {
#define SOLMEA_SDL_POINTER(name) decltype(&::name) name = nullptr;
    SOLMEA_SDL_FUNCTIONS(SOLMEA_SDL_POINTER)
#undef SOLMEA_SDL_POINTER
};

// The library, loaded on the first call; null when it cannot be loaded (then
// `error` says why, in Japanese).
const SdlLibrary* sdlLibrary(QString* error = nullptr);
