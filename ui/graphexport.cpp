#include "ui/graphexport.h"

#include <QBuffer>
#include <QRegion>
#include <QSvgGenerator>
#include <QtMath>

#include "ui/imagecanvas.h"
#include "ui/look.h"

namespace quilvex {

namespace {

constexpr std::size_t kPngExtension = 0, kSvgExtension = 1;

void PaintLabels(QPainter& painter, const GraphPicture& picture)
{
    for (const PictureLabel& label : picture.labels) {
        if (label.text.isEmpty())
            continue;
        if (label.filled)
            painter.fillRect(label.rect, label.background);
        painter.setFont(label.font);
        painter.setPen(label.color);
        painter.drawText(label.rect, label.alignment, label.text);
    }
}

// The box, the panel's colour around it (covering any stroke that ran beyond
// the box, as the window clips it), then the labels.
void PaintGraph(QPainter& painter, const GraphPicture& picture, qreal scale, bool vector)
{
    const ImageCanvas& canvas = *picture.canvas;
    const QRect box = picture.box;
    if (vector) {
        painter.save();
        painter.translate(box.topLeft());
        painter.setClipRect(0, 0, box.width(), box.height());
        canvas.Recorded().Replay(painter, DisplayList::Lines::Joined);
        painter.restore();
    } else {
        painter.drawImage(box.topLeft(), ReplayedBox(canvas, scale));
    }
    for (const QRect& strip : QRegion(QRect(QPoint(0, 0), picture.size)) - QRegion(box))
        painter.fillRect(strip, picture.panel);
    PaintLabels(painter, picture);
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

QImage GraphImage(const GraphPicture& picture, qreal scale)
{
    const QSize size = picture.size;
    QImage image(qCeil(size.width() * scale), qCeil(size.height() * scale), QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    QPainter painter(&image);
    PaintGraph(painter, picture, scale, false);
    return image;
}

QByteArray GraphSvg(const GraphPicture& picture)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(picture.size);
    svg.setViewBox(QRect(QPoint(0, 0), picture.size));
    svg.setResolution(96);  // one picture pixel to a pixel of the usual screen
    svg.setTitle("Quilvex graph");
    QPainter painter(&svg);
    PaintGraph(painter, picture, 1, true);
    painter.end();
    return bytes;
}

QByteArray GraphFileBytes(const GraphPicture& picture, GraphFileType type)
{
    switch (type) {
    case GraphFileType::Svg: return GraphSvg(picture);
    case GraphFileType::PngDoubleSize: return PngBytes(GraphImage(picture, 2));
    case GraphFileType::Png: break;
    }
    return PngBytes(GraphImage(picture, 1));
}

}  // namespace quilvex
