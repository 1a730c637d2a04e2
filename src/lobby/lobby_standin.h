#pragma once
#include "app/screen.h"

// Stands in for the step lobby until it is built: the pupil, and one start
// button per offered level.
class LobbyStandIn : public Screen {
    Q_OBJECT
public:
    explicit LobbyStandIn(App& app);
    void formActivate() override;
};
