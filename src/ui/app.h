#pragma once
#include "state/shared_state.h"
#include "ui/navigator.h"
#include "state/services.h"

class Stage;

// What every screen receives: the shared state, the outside world, the
// stage, and the way to the next screen.
struct App {
    SharedState& state;
    Services& services;
    Stage& stage;
    Navigator& navigator;
};
