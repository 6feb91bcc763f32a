#pragma once
// The graph as a picture file or clipboard image: the paint box as the last
// replot left it, with the four edge labels and the message line where the
// graph window shows them. Nothing is drawn anew: the box is the canvas's
// display list played back, so no replot runs and no box can open.
#include <QByteArray>
#include <QImage>
#include <string>

#include "ui/fileactions.h"
#include "ui/graphpicture.h"

namespace quilvex {

class ImageCanvas;

// The pictures "Export graph…" writes: the paint box's size, twice that, or
// vector; in the order of the dialog's file types.
enum class GraphFileType { Png, PngDoubleSize, Svg };

// "Export graph…": a name without an extension gets that of the file type
// chosen, and so does one with an extension other than ".png" or ".svg".
SaveRequest GraphSaveRequest();
// The file type follows the name: ".svg" gives SVG; ".png" a PNG, twice the
// size when that was chosen.
GraphFileType GraphTypeOf(const SaveTarget& target);

// The paint box's picture played back at scale device pixels per pixel; at
// scale 1 it equals the canvas's own image pixel for pixel.
QImage ReplayedBox(const ImageCanvas& canvas, qreal scale);
// The graph window's plot panel without the "Control" button, scale device
// pixels per pixel.
QImage GraphImage(const GraphPicture& picture, qreal scale);
// The same as SVG: the curves as polylines, the points as ellipses, the labels as text.
QByteArray GraphSvg(const GraphPicture& picture);
QByteArray GraphFileBytes(const GraphPicture& picture, GraphFileType type);

}  // namespace quilvex
