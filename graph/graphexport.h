#pragma once
// The graph as a picture file or clipboard image: the paint box as the last
// replot left it, with the four edge labels and the message line where the
// graph window shows them. Nothing is drawn anew: the box is the canvas's
// display list played back, so no replot runs and no box can open.
#include <QByteArray>
#include <QImage>
#include <string>

#include "ui/dialogs.h"

namespace quilvex {

class ImageCanvas;
class TPlotForm;

// The file type follows the name: ".svg" gives SVG; ".png" a PNG, twice the
// size when that was chosen; any other name gets the extension of the chosen
// type appended (in any letter case the two extensions are recognised).
GraphFileType ApplyGraphFileExtension(std::string& name, GraphFileType chosen);

// The paint box's picture played back at scale device pixels per pixel; at
// scale 1 it equals the canvas's own image pixel for pixel.
QImage ReplayedBox(const ImageCanvas& canvas, qreal scale);
// The graph window's plot panel without the "Control" button, scale device
// pixels per pixel.
QImage GraphImage(TPlotForm& form, qreal scale);
// The same as SVG: the curves as polylines, the points as ellipses, the labels as text.
QByteArray GraphSvg(TPlotForm& form);
QByteArray GraphFileBytes(TPlotForm& form, GraphFileType type);

}  // namespace quilvex
