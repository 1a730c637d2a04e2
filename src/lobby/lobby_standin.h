#pragma once
#include "app/screen.h"

class QButtonGroup;
class QLabel;

// Stands in for the name selection screen and the step lobby until they are
// built: the roster's pupils to choose from, and one start button per level.
class LobbyStandIn : public Screen {
    Q_OBJECT
public:
    explicit LobbyStandIn(App& app);
    void formActivate() override;

private:
    void choosePupil(int number, const QString& name);

    QButtonGroup* pupils_;
    QLabel* note_;
};
