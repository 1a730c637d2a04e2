#pragma once
#include <QRect>
#include <QSize>

// The screens are designed for 1024 × 768 pixels. A stage window of another
// size shows the design at one factor both ways, centred, with the
// background colour around it.
inline constexpr QSize kDesignSize{1024, 768};

struct StageFit {
    double factor = 1;
    QRect area; // where the design lies in the window, in window pixels
};

// How the design sits in a window of `window` pixels. The factor is exactly
// 1 whenever the window is the design size (or wider or taller only).
StageFit fitDesign(QSize window);

// The window size for the design within `room` (the screen's available area
// less the window frame): the design size where it fits, otherwise the
// largest uniformly smaller size that does.
QSize fittedWindowSize(QSize room);
