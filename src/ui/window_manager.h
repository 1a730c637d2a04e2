#pragma once

// Whether a window manager runs that makes windows maximised or full screen.
// A bare X server (as the tests use) has none: there the stage sizes itself.
bool windowManagerRuns();
