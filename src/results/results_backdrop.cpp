#include "results/results_backdrop.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

ResultsBackdrop::ResultsBackdrop(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

namespace {

// A fixed little generator, so the stars sit in the same places every time.
struct StarSeed {
    quint32 v = 20261208u;
    double next()
    {
        v = v * 1664525u + 1013904223u;
        return double(v >> 8) / double(1u << 24);
    }
};

QPainterPath hill(double w, double h, double baseY, double amplitude, double waves, double phase)
{
    QPainterPath p;
    p.moveTo(0, h);
    const int steps = 64;
    for (int i = 0; i <= steps; ++i) {
        const double x = w * i / steps;
        const double y = baseY - amplitude * std::sin(phase + waves * 3.14159265 * i / steps);
        p.lineTo(x, y);
    }
    p.lineTo(w, h);
    p.closeSubpath();
    return p;
}

} // namespace

void ResultsBackdrop::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const double w = width(), h = height();

    // Sky: deep blue above, a soft violet glow near the horizon.
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0.0, QColor(18, 28, 72));
    sky.setColorAt(0.55, QColor(46, 52, 120));
    sky.setColorAt(0.85, QColor(118, 86, 150));
    sky.setColorAt(1.0, QColor(170, 120, 150));
    p.fillRect(rect(), sky);

    // Stars, small and faint so that the texts stay easy to read.
    StarSeed seed;
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 90; ++i) {
        const double x = seed.next() * w, y = seed.next() * h * 0.7;
        const double r = 0.6 + seed.next() * 1.4;
        p.setBrush(QColor(255, 250, 220, 110 + int(seed.next() * 120)));
        p.drawEllipse(QPointF(x, y), r, r);
    }

    // A crescent moon at the top left, with a gentle halo.
    const QPointF moon(w * 0.1, h * 0.1);
    const double mr = h * 0.045;
    QRadialGradient halo(moon, mr * 3);
    halo.setColorAt(0, QColor(255, 245, 200, 70));
    halo.setColorAt(1, QColor(255, 245, 200, 0));
    p.setBrush(halo);
    p.drawEllipse(moon, mr * 3, mr * 3);
    QPainterPath disc, bite;
    disc.addEllipse(moon, mr, mr);
    bite.addEllipse(moon + QPointF(mr * 0.45, -mr * 0.2), mr * 0.9, mr * 0.9);
    p.setBrush(QColor(255, 240, 180));
    p.drawPath(disc.subtracted(bite));

    // Three layers of hills, the nearest darkest.
    p.setBrush(QColor(58, 96, 110));
    p.drawPath(hill(w, h, h * 0.80, h * 0.04, 3.0, 0.6));
    p.setBrush(QColor(44, 110, 84));
    p.drawPath(hill(w, h, h * 0.86, h * 0.035, 2.2, 2.1));
    p.setBrush(QColor(30, 84, 60));
    p.drawPath(hill(w, h, h * 0.93, h * 0.025, 1.6, 4.0));

    // A few small trees on the middle hill.
    for (int i = 0; i < 5; ++i) {
        const double x = w * (0.08 + 0.21 * i);
        const double base = h * 0.86 - h * 0.035 * std::sin(2.1 + 2.2 * 3.14159265 * x / w);
        p.setBrush(QColor(90, 60, 40));
        p.drawRect(QRectF(x - 2, base - 10, 4, 12));
        p.setBrush(QColor(36, 128, 78));
        p.drawEllipse(QPointF(x, base - 16), 10, 12);
    }
}
