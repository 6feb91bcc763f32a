#include "details/residualplot.h"

#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>

namespace quilvex {

namespace {

constexpr int kLeftMargin = 64, kRightMargin = 12, kTopMargin = 10, kBottomMargin = 28;
constexpr int kMarker = 3;
const QColor kExcludedColor(128, 128, 128);

struct Range {
    double low = 0, high = 1;
    void Include(double v)
    {
        low = std::min(low, v);
        high = std::max(high, v);
    }
    void Widen()
    {
        const double pad = high > low ? (high - low) * 0.05 : std::max(1.0, std::fabs(low));
        low -= pad;
        high += pad;
    }
};

QColor ToQColor(Color c) { return QColor(c.r, c.g, c.b); }

class Frame {
public:
    Frame(QRect area, Range x, Range y) : area_(area), x_(x), y_(y) {}
    double Px(double x) const { return area_.left() + (x - x_.low) / (x_.high - x_.low) * area_.width(); }
    double Py(double y) const { return area_.bottom() - (y - y_.low) / (y_.high - y_.low) * area_.height(); }
    QRect Area() const { return area_; }
    Range X() const { return x_; }
    Range Y() const { return y_; }

private:
    QRect area_;
    Range x_, y_;
};

void PaintAxes(QPainter& p, const Frame& f)
{
    const QRect a = f.Area();
    p.setPen(Qt::black);
    p.drawRect(a);
    const QFontMetrics metrics = p.fontMetrics();
    for (double t : AxisTicks(f.X().low, f.X().high, 6)) {
        const int px = static_cast<int>(std::lround(f.Px(t)));
        p.drawLine(px, a.bottom(), px, a.bottom() + 4);
        const QString label = QString::number(t, 'g', 6);
        p.drawText(px - metrics.horizontalAdvance(label) / 2, a.bottom() + 6 + metrics.ascent(), label);
    }
    for (double t : AxisTicks(f.Y().low, f.Y().high, 5)) {
        const int py = static_cast<int>(std::lround(f.Py(t)));
        p.drawLine(a.left() - 4, py, a.left(), py);
        const QString label = QString::number(t, 'g', 6);
        p.drawText(a.left() - 6 - metrics.horizontalAdvance(label), py + metrics.ascent() / 2, label);
    }
    p.setPen(QPen(Qt::darkGray, 1, Qt::DashLine));
    const int zero = static_cast<int>(std::lround(f.Py(0)));
    p.drawLine(a.left(), zero, a.right(), zero);
}

void PaintMarkers(QPainter& p, const Frame& f, const std::vector<Real>& x, const std::vector<Real>& r)
{
    for (std::size_t i = 0; i < x.size(); ++i) {
        const double px = f.Px(static_cast<double>(x[i])), py = f.Py(static_cast<double>(r[i]));
        if (std::isfinite(px) && std::isfinite(py))
            p.drawEllipse(QPointF(px, py), kMarker, kMarker);
    }
}

void PaintSeries(QPainter& p, const Frame& f, const ResidualSeries& s)
{
    const QColor color = ToQColor(s.color);
    p.setPen(QPen(color, 1));
    p.setBrush(s.openMarkers ? QBrush(Qt::NoBrush) : QBrush(color));
    PaintMarkers(p, f, s.x, s.r);
    p.setPen(QPen(kExcludedColor, 1));
    p.setBrush(Qt::NoBrush);
    PaintMarkers(p, f, s.excludedX, s.excludedR);
}

void IncludePoints(const std::vector<Real>& xs, const std::vector<Real>& rs, Range& x, Range& y, bool& any)
{
    for (std::size_t i = 0; i < xs.size(); ++i) {
        if (!std::isfinite(xs[i]) || !std::isfinite(rs[i]))
            continue;
        if (!any)
            x = {static_cast<double>(xs[i]), static_cast<double>(xs[i])};
        any = true;
        x.Include(static_cast<double>(xs[i]));
        y.Include(static_cast<double>(rs[i]));
    }
}

void Paint(QPainter& p, QSize size, const std::vector<ResidualSeries>& series)
{
    p.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    Range x{0, 0}, y{0, 0};
    bool any = false;
    for (const ResidualSeries& s : series) {
        IncludePoints(s.x, s.r, x, y, any);
        IncludePoints(s.excludedX, s.excludedR, x, y, any);
    }
    x.Widen();
    y.Widen();
    const Frame frame(QRect(kLeftMargin, kTopMargin, size.width() - kLeftMargin - kRightMargin,
                            size.height() - kTopMargin - kBottomMargin),
                      x, y);
    if (frame.Area().width() < 10 || frame.Area().height() < 10)
        return;
    PaintAxes(p, frame);
    p.setClipRect(frame.Area());
    for (const ResidualSeries& s : series)
        PaintSeries(p, frame, s);
}

}  // namespace

std::vector<double> AxisTicks(double low, double high, int count)
{
    std::vector<double> ticks;
    if (!(high > low) || !std::isfinite(high - low) || count < 1)
        return ticks;
    const double raw = (high - low) / count, magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    double step = magnitude;
    for (double factor : {1.0, 2.0, 5.0, 10.0})
        if (raw <= factor * magnitude) {
            step = factor * magnitude;
            break;
        }
    for (double t = std::ceil(low / step) * step; t <= high; t += step)
        ticks.push_back(std::fabs(t) < step * 1e-9 ? 0.0 : t);
    return ticks;
}

ResidualPlot::ResidualPlot(QWidget* parent) : QWidget(parent) { setMinimumSize(300, 160); }

void ResidualPlot::SetSeries(std::vector<ResidualSeries> series)
{
    series_ = std::move(series);
    update();
}

void ResidualPlot::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    Paint(p, size(), series_);
}

QImage ResidualPlot::Image(qreal scale) const
{
    QImage image(size() * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    QPainter p(&image);
    p.setFont(font());
    Paint(p, size(), series_);
    return image;
}

QByteArray ResidualPlot::Svg() const
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size());
    svg.setViewBox(QRect(QPoint(0, 0), size()));
    svg.setTitle("Residuals");
    QPainter p(&svg);
    p.setFont(font());
    Paint(p, size(), series_);
    p.end();
    return bytes;
}

}  // namespace quilvex
