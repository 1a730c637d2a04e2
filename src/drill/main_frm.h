#pragma once
#include "app/screen.h"

// The drill screen.
class MainFrm : public Screen {
    Q_OBJECT
public:
    explicit MainFrm(App& app);
};
