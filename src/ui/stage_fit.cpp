#include "ui/stage_fit.h"

#include <algorithm>
#include <cmath>

namespace {

// The factor that fits the design in `room`, cut to 1/65536 so that the
// scaled design never comes out a pixel larger than the room.
double factorFor(QSize room)
{
    const double f = std::min(double(room.width()) / kDesignSize.width(), double(room.height()) / kDesignSize.height());
    return std::max(0.0, std::floor(f * 65536.0) / 65536.0);
}

} // namespace

StageFit fitDesign(QSize window)
{
    StageFit fit;
    fit.factor = factorFor(window);
    const QSize scaled(std::min(window.width(), int(std::lround(kDesignSize.width() * fit.factor))),
                       std::min(window.height(), int(std::lround(kDesignSize.height() * fit.factor))));
    fit.area = QRect(QPoint((window.width() - scaled.width()) / 2, (window.height() - scaled.height()) / 2), scaled);
    return fit;
}

QSize fittedWindowSize(QSize room)
{
    if (room.width() >= kDesignSize.width() && room.height() >= kDesignSize.height()) return kDesignSize;
    return fitDesign(room).area.size();
}
