#pragma once
// What the graph window shows, as the export needs it: the paint box's
// recorded picture, where it lies in the plot panel, the panel's colour and
// the labels around it.
#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <vector>

namespace quilvex {

class ImageCanvas;

struct PictureLabel {
    QRect rect;
    QString text;
    QFont font;
    QColor color;
    bool filled = false;  // the label paints its background
    QColor background;
    int alignment = 0;
};

struct GraphPicture {
    const ImageCanvas* canvas = nullptr;
    QSize size;  // the plot panel without its bevel
    QRect box;   // the paint box in it, the size of the canvas
    QColor panel;
    std::vector<PictureLabel> labels;  // the four edge labels, then the message line
    qreal deviceRatio = 1;             // device pixels per pixel of the screen showing it
};

}  // namespace quilvex
