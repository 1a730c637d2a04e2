#pragma once
#include "app/services.h"
#include "app/shared_state.h"

class Stage;

// What every screen receives: the shared state, the outside world, the stage.
struct App {
    SharedState& state;
    Services& services;
    Stage& stage;
};
