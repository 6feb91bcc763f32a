#include "graph/graphexport.h"

#include <QBuffer>
#include <QRegion>
#include <QSvgGenerator>
#include <QtMath>

#include "graph/QuilvexG.h"
#include "ui/look.h"

namespace quilvex {

namespace {

constexpr std::size_t kPngExtension = 0, kSvgExtension = 1;

// Where a widget of the plot panel lies in the exported picture.
QPoint InPicture(TPlotForm& form, const QWidget* widget)
{
    return widget->mapTo(form.PlotPanel, QPoint(0, 0)) - form.PlotPanel->contentsRect().topLeft();
}

QSize PictureSize(TPlotForm& form) { return form.PlotPanel->contentsRect().size(); }

void PaintLabels(QPainter& painter, TPlotForm& form)
{
    for (const QLabel* label : {form.TopYLabel, form.BottomYLabel, form.LeftXLabel, form.RightXLabel, form.MsgLabel}) {
        if (label->text().isEmpty())
            continue;
        const QRect rect(InPicture(form, label), label->size());
        if (label->autoFillBackground())
            painter.fillRect(rect, label->palette().color(QPalette::Window));
        painter.setFont(label->font());
        painter.setPen(label->palette().color(QPalette::WindowText));
        painter.drawText(rect, static_cast<int>(label->alignment()), label->text());
    }
}

// The box, the panel's colour around it (covering any stroke that ran beyond
// the box, as the window clips it), then the labels.
void PaintGraph(QPainter& painter, TPlotForm& form, qreal scale, bool vector)
{
    const ImageCanvas& canvas = form.PlotPaintBox->Canvas();
    const QRect box(InPicture(form, form.PlotPaintBox), QSize(canvas.Width(), canvas.Height()));
    if (vector) {
        painter.save();
        painter.translate(box.topLeft());
        painter.setClipRect(0, 0, box.width(), box.height());
        canvas.Recorded().Replay(painter, DisplayList::Lines::Joined);
        painter.restore();
    } else {
        painter.drawImage(box.topLeft(), ReplayedBox(canvas, scale));
    }
    const QColor panel = form.PlotPanel->palette().color(QPalette::Window);
    for (const QRect& strip : QRegion(QRect(QPoint(0, 0), PictureSize(form))) - QRegion(box))
        painter.fillRect(strip, panel);
    PaintLabels(painter, form);
}

QByteArray PngBytes(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

}  // namespace

SaveRequest GraphSaveRequest()
{
    SaveRequest request;
    request.dialog = FileRequest{"Export graph", {"PNG image (*.png)", "PNG image, double size (*.png)", "SVG image (*.svg)"},
                                 true, ""};
    request.rule = ExtensionRule{{".png", ".svg"}, kPngExtension, OtherExtension::Append};
    request.extensionOfFilter = {kPngExtension, kPngExtension, kSvgExtension};
    return request;
}

GraphFileType GraphTypeOf(const SaveTarget& target)
{
    if (target.known == static_cast<int>(kSvgExtension))
        return GraphFileType::Svg;
    return target.filter == static_cast<std::size_t>(GraphFileType::PngDoubleSize) ? GraphFileType::PngDoubleSize
                                                                                      : GraphFileType::Png;
}

QImage ReplayedBox(const ImageCanvas& canvas, qreal scale)
{
    QImage image(qCeil(canvas.Width() * scale), qCeil(canvas.Height() * scale), QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(ToQColor(colors::Background));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    canvas.Recorded().Replay(painter, DisplayList::Lines::AsDrawn);
    return image;
}

QImage GraphImage(TPlotForm& form, qreal scale)
{
    const QSize size = PictureSize(form);
    QImage image(qCeil(size.width() * scale), qCeil(size.height() * scale), QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    QPainter painter(&image);
    PaintGraph(painter, form, scale, false);
    return image;
}

QByteArray GraphSvg(TPlotForm& form)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(PictureSize(form));
    svg.setViewBox(QRect(QPoint(0, 0), PictureSize(form)));
    svg.setResolution(96);  // one picture pixel to a pixel of the usual screen
    svg.setTitle("Quilvex graph");
    QPainter painter(&svg);
    PaintGraph(painter, form, 1, true);
    painter.end();
    return bytes;
}

QByteArray GraphFileBytes(TPlotForm& form, GraphFileType type)
{
    switch (type) {
    case GraphFileType::Svg: return GraphSvg(form);
    case GraphFileType::PngDoubleSize: return PngBytes(GraphImage(form, 2));
    case GraphFileType::Png: break;
    }
    return PngBytes(GraphImage(form, 1));
}

}  // namespace quilvex
