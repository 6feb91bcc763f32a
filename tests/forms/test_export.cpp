// "Export graph…": the exported box is the canvas's picture, the SVG holds the
// drawing as shapes, and no export runs a replot. (The clipboard and a device
// pixel ratio of 2 are checked on real windows.)
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <map>

#include "ui/graphexport.h"
#include "support/app_fixture.h"
#include "ui/look.h"
#include "support/controls.h"

using namespace quilvex;
using namespace quilvex::testing;

namespace {

struct SvgShapes {
    int ellipses = 0;
    std::map<QString, int> polylinesByStroke;
    QStringList texts;
};

// Counts the shapes of an SVG file; a shape's stroke is that of the group around it.
SvgShapes ReadSvg(const QByteArray& bytes)
{
    SvgShapes shapes;
    QXmlStreamReader xml(bytes);
    QStringList strokes{"none"};
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name() == QStringLiteral("g"))
            strokes.removeLast();
        if (!xml.isStartElement())
            continue;
        const QString name = xml.name().toString();
        if (name == "g")
            strokes << xml.attributes().value("stroke").toString();
        else if (name == "ellipse" || name == "circle")
            ++shapes.ellipses;
        else if (name == "polyline" || name == "path")
            ++shapes.polylinesByStroke[strokes.last()];
        else if (name == "text")
            shapes.texts << xml.readElementText(QXmlStreamReader::IncludeChildElements).simplified();
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return shapes;
}

class ExportTest : public AppTest {
protected:
    // Five points, every method on, a mark at X 2.5, and point 2 selected.
    void FullGraph()
    {
        SetGrid({{"1", "2"}, {"2", "3"}, {"3", "5"}, {"4", "4"}, {"5", "6"}});
        for (const MethodRow& row : kMethods)
            Doc().SetMethodChecked(row.method, true);
        S().SelectedPoint = 2;
        Find<QLineEdit>(Status(), "XvalueEdit")->setText("2.5");
        Plot().Draw();
    }
    QImage Screen() { return quilvex::testing::Find<PaintBox>(Plot(), "PlotPaintBox")->Canvas().Image().convertToFormat(QImage::Format_RGB32); }
    QPoint BoxCorner() { return quilvex::testing::Find<PaintBox>(Plot(), "PlotPaintBox")->mapTo(quilvex::testing::Find<QWidget>(Plot(), "PlotPanel"), QPoint(0, 0)) - QPoint(1, 1); }
    std::string Path(const std::string& name) { return (dir.path() + "/").toStdString() + name; }
    QByteArray Export(GraphFileChoice choice)
    {
        dialogs.graphNames.push_back(choice);
        Main().ExportGraphClick();
        QFile file(QString::fromStdString(choice.name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QTemporaryDir dir;
};

TEST_F(ExportTest, PngAtOneToOneHoldsTheBoxPixelForPixelBesideItsLabels)
{
    FullGraph();
    const QImage exported = GraphImage(Plot().Picture(), 1).convertToFormat(QImage::Format_RGB32);
    const QSize box = quilvex::testing::Find<PaintBox>(Plot(), "PlotPaintBox")->size();
    EXPECT_EQ(BoxCorner(), QPoint(48, 0));
    EXPECT_EQ(exported.size(), QSize(48 + box.width(), box.height() + 12));
    EXPECT_EQ(exported.copy(QRect(BoxCorner(), box)), Screen());

    // A replot ended by an error leaves a partial picture: the export shows the
    // same, and the message line with its lime ground below the box.
    SetGrid({{"1", "1e4900"}, {"2", "-1e4900"}, {"3", "0"}});
    Plot().Draw();
    ASSERT_NE(Msg().find("Exception"), std::string::npos);
    const QImage failed = GraphImage(Plot().Picture(), 1).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(failed.copy(QRect(BoxCorner(), box)), Screen());
    const QPoint msg = quilvex::testing::Find<QLabel>(Plot(), "MsgLabel")->mapTo(quilvex::testing::Find<QWidget>(Plot(), "PlotPanel"), QPoint(1, 1)) - QPoint(1, 1);
    EXPECT_EQ(failed.pixelColor(msg), ToQColor(colors::Lime));
}

TEST_F(ExportTest, SvgHoldsACirclePerPointAPolylinePerCurveAndTheLabelsAsText)
{
    FullGraph();
    SvgShapes svg = ReadSvg(GraphSvg(Plot().Picture()));
    EXPECT_EQ(svg.ellipses, 5 + 1);  // the selected point has two circles
    for (Color c : {colors::Red, colors::Yellow, colors::Green, colors::Purple, colors::Gray})
        EXPECT_EQ(svg.polylinesByStroke[ToQColor(c).name()], 1) << ToQColor(c).name().toStdString();
    // Black: the spline, then the marks of the seven curves (a vertical and a horizontal line each).
    EXPECT_EQ(svg.polylinesByStroke["#000000"], 1 + 7);
    // Blue: the two dashed axes (x = 0 just left of the box) and the power curve.
    EXPECT_EQ(svg.polylinesByStroke["#0000ff"], 3);
    for (const QLabel* label : {quilvex::testing::Find<QLabel>(Plot(), "TopYLabel"), quilvex::testing::Find<QLabel>(Plot(), "BottomYLabel"), quilvex::testing::Find<QLabel>(Plot(), "LeftXLabel"), quilvex::testing::Find<QLabel>(Plot(), "RightXLabel")})
        EXPECT_TRUE(svg.texts.contains(label->text())) << label->text().toStdString();
}

TEST_F(ExportTest, TheFileTypeFollowsTheNameAndExportingRunsNoReplot)
{
    FullGraph();
    // A stroke no replot draws: a replot would wipe it from the box.
    ImageCanvas& canvas = quilvex::testing::Find<PaintBox>(Plot(), "PlotPaintBox")->Canvas();
    canvas.SetPenColor(colors::Lime);
    canvas.MoveTo(0, 0);
    canvas.LineTo(100, 0);
    canvas.SetPenColor(colors::Black);
    canvas.Finish();
    const QImage before = Screen();

    const QImage twice = QImage::fromData(Export({Path("double.PNG"), GraphFileType::PngDoubleSize}), "PNG");
    EXPECT_EQ(twice.size(), 2 * GraphImage(Plot().Picture(), 1).size());
    const QByteArray svg = Export({Path("named.svg"), GraphFileType::Png});
    EXPECT_GT(ReadSvg(svg).ellipses, 0);
    const QImage plain = QImage::fromData(Export({Path("plain.png"), GraphFileType::Svg}), "PNG");
    EXPECT_EQ(plain.pixelColor(BoxCorner() + QPoint(50, 0)), ToQColor(colors::Lime));
    dialogs.graphNames.push_back({Path("bare"), GraphFileType::Svg});
    Main().ExportGraphClick();
    QFile bare(QString::fromStdString(Path("bare.svg")));
    ASSERT_TRUE(bare.open(QIODevice::ReadOnly));
    EXPECT_EQ(ReadSvg(bare.readAll()).ellipses, 6);

    // An existing file is overwritten only after a "Yes".
    dialogs.answers.push_back(BoxAnswer::No);
    EXPECT_EQ(Export({Path("named.svg"), GraphFileType::PngDoubleSize}), svg);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "File " + Path("named.svg") + " already exists. Overwrite?");

    dialogs.graphNames.push_back({Path("missing/graph.png"), GraphFileType::Png});
    Main().ExportGraphClick();
    EXPECT_EQ(dialogs.errors, std::vector<std::string>{"File not found"});
    EXPECT_EQ(Screen(), before);
}

}  // namespace
