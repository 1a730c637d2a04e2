#pragma once
#include "state/services.h"
#include "state/shared_state.h"
#include "ui/navigator.h"

class Stage;

// What every screen receives: the shared state, the outside world, the
// stage, and the way to the next screen.
struct App {
    SharedState& state;
    Services& services;
    Stage& stage;
    Navigator& navigator;
};
