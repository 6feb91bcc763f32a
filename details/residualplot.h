#pragma once
// The residual plot of the "Fit details" window: y - f(x) at each point
// against x, one series per method in its curve's colour (the true
// least-squares fits with open markers), a zero line and axes with tick labels.
// The points the user left out of the fits are drawn hollow in grey at their
// residual from each curve.
#include <QByteArray>
#include <QImage>
#include <QString>
#include <QWidget>
#include <vector>

#include "data/color.h"
#include "data/fpfault.h"

namespace quilvex {

struct ResidualSeries {
    QString name;
    Color color;
    bool openMarkers = false;
    std::vector<Real> x, r;
    std::vector<Real> excludedX, excludedR;
};

class ResidualPlot : public QWidget {
    Q_OBJECT
public:
    explicit ResidualPlot(QWidget* parent = nullptr);

    void SetSeries(std::vector<ResidualSeries> series);
    const std::vector<ResidualSeries>& Series() const { return series_; }

    // The plot at its current size, scale device pixels per pixel, or as SVG.
    QImage Image(qreal scale) const;
    QByteArray Svg() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<ResidualSeries> series_;
};

// Tick values for an axis over [low, high]: round steps of 1, 2 or 5 times a
// power of ten, about `count` of them, within the range.
std::vector<double> AxisTicks(double low, double high, int count);

}  // namespace quilvex
