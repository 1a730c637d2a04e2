#pragma once
#include "app/screen.h"

// The results screen.
class FrmSyuuryou : public Screen {
    Q_OBJECT
public:
    explicit FrmSyuuryou(App& app);
};
