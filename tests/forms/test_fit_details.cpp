// The "Fit details" window: opened by Ctrl+D and from the status window, its
// figures those of the statistics on the replot's table, following a drag;
// sorting, the marked row (none where a least-squares fit has no AICc), the
// two copies; the bands off leave the designed picture; the ascending
// adjustment among the warnings; the note while the grid is not the table of
// the figures.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <cmath>
#include <fstream>
#include <functional>

#include "data/numtext.h"
#include "report/core/resultstext.h"
#include "stats/statistics.h"
#include "stats/table.h"
#include "support/app_fixture.h"
#include "support/controls.h"

using namespace quilvex;
using namespace quilvex::testing;

namespace {

class FitDetailsTest : public AppTest {
protected:
    TFitDetailsForm& D() { return app->Details(); }
    template <typename Control>
    Control* C(const char* name) { return quilvex::testing::Find<Control>(D(), name); }

    void Show(const std::vector<std::pair<std::string, std::string>>& rows, std::vector<Method> methods)
    {
        SetGrid(rows);
        methods.push_back(Method::Spline);
        methods.push_back(Method::Regression);
        for (const Method m : methods)
            Doc().SetMethodChecked(m, true);
        Main().DrawGraph();
        D().ShowAndRaise();
        D().FinishUpdate();
    }
    QVariant Data(int row, int column, int role) { return C<QSortFilterProxyModel>("Sorted")->index(row, column).data(role); }
    QString At(int row, int column, int role = kCopyRole) { return Data(row, column, role).toString(); }
    int RowOf(const QString& method)
    {
        for (int r = 0; r < C<QSortFilterProxyModel>("Sorted")->rowCount(); ++r)
            if (At(r, kMethodCol, Qt::DisplayRole) == method)
                return r;
        return -1;
    }
    // The statistics of `quilvex fit` on the table the last replot drew.
    std::vector<MethodFigures> Statistics()
    {
        QuilvexState s;
        s.n = S().n;
        s.x = S().x;
        s.y = S().y;
        StatsRequest request;
        for (const MethodFigures& row : C<DetailsModel>("Model")->Result().rows)
            request.methods.push_back(row.method);
        request.regressionOrder = S().RegrOrd;
        request.lagrangeOrder = S().LagrOrd;
        return ComputeStatistics(s, request, {});
    }
};

std::string Digits18(Real v) { return FormatGeneral(v, 18, '.'); }

const std::vector<std::pair<std::string, std::string>> kExponential = {
    {"1", "3.2"}, {"2", "5.5"}, {"3", "8.9"}, {"4", "14.6"}, {"5", "24.5"}, {"6", "40.1"}, {"7", "66.6"}};

}  // namespace

TEST_F(FitDetailsTest, CtrlDAndTheStatusButtonOpenTheOneWindow)
{
    QAction* ctrlD = nullptr;
    for (QAction* action : Main().actions())
        if (action->shortcut() == QKeySequence("Ctrl+D"))
            ctrlD = action;
    ASSERT_NE(ctrlD, nullptr);
    ctrlD->trigger();
    EXPECT_TRUE(D().isVisible());
    EXPECT_EQ(D().windowTitle(), "Fit details");
    D().close();
    EXPECT_FALSE(D().isVisible());
    quilvex::testing::Find<QPushButton>(Status(), "FitDetailsButton")->click();
    EXPECT_TRUE(D().isVisible());
}

TEST_F(FitDetailsTest, FiguresAreTheStatisticsAndFollowADrag)
{
    Show({{"1", "1"}, {"2", "4"}, {"3", "9"}, {"4", "16"}, {"5", "25"}}, {Method::Exponential, Method::Logarithmic});
    // Spline, regression, exponential with its least-squares row, logarithmic.
    ASSERT_EQ(C<QSortFilterProxyModel>("Sorted")->rowCount(), 5);
    const auto expectSame = [&] {
        const std::vector<MethodFigures> stats = Statistics();
        ASSERT_EQ(static_cast<int>(stats.size()), C<QSortFilterProxyModel>("Sorted")->rowCount());
        for (int r = 0; r < C<QSortFilterProxyModel>("Sorted")->rowCount(); ++r)
            EXPECT_EQ(At(r, kSsrCol).toStdString(), Digits18(*stats[static_cast<std::size_t>(r)].ssr.value)) << r;
    };
    expectSame();
    const QString before = At(RowOf("Regression order 3 polynomial"), kSsrCol);
    const std::size_t plotted = C<ResidualPlot>("Residuals")->Series().size();
    Plot().PlotPaintBoxMouseDown(269, 255);  // point 3 (3, 9)
    Plot().PlotPaintBoxMouseMove(269, 200);
    Plot().PlotPaintBoxMouseUp(269, 200);
    D().FinishUpdate();
    EXPECT_NE(At(RowOf("Regression order 3 polynomial"), kSsrCol), before);
    expectSame();
    EXPECT_EQ(C<ResidualPlot>("Residuals")->Series().size(), plotted);
    EXPECT_EQ(C<ResidualPlot>("Residuals")->Series()[0].x[2], S().x[3]);
}

TEST_F(FitDetailsTest, SortsByAnyColumnWithUndefinedFiguresLast)
{
    Show(kExponential, {Method::Exponential, Method::Logarithmic, Method::Power});
    C<QTableView>("Table")->sortByColumn(kAiccCol, Qt::AscendingOrder);
    const int rows = C<QSortFilterProxyModel>("Sorted")->rowCount();
    ASSERT_EQ(rows, 7);
    for (int r = 1; r < rows; ++r)
        EXPECT_LE(Data(r - 1, kAiccCol, kSortRole).toDouble(), Data(r, kAiccCol, kSortRole).toDouble()) << r;
    EXPECT_EQ(At(rows - 1, kMethodCol, Qt::DisplayRole), "Cubic Spline");  // SSR 0: no AICc
    EXPECT_EQ(At(rows - 1, kAiccCol), "");
    C<QTableView>("Table")->sortByColumn(kMethodCol, Qt::DescendingOrder);
    EXPECT_EQ(At(0, kMethodCol, Qt::DisplayRole), "Regression order 3 polynomial");
    EXPECT_EQ(At(rows - 1, kMethodCol, Qt::DisplayRole), "Cubic Spline");
}

TEST_F(FitDetailsTest, MarksTheLowestAiccOfTheLeastSquaresFits)
{
    const struct {
        std::vector<std::pair<std::string, std::string>> rows;
        const char* order;
        QString marked;
    } cases[] = {
        {kExponential, "1", "Exponential, least squares"},
        {{{"1", "3.1"}, {"2", "4.3"}, {"3", "5.3"}, {"4", "5.7"}, {"5", "6.2"}, {"6", "6.6"}, {"7", "6.9"}},
         "1", "Logarithmic"},
        {{{"1", "7.1"}, {"2", "5.9"}, {"3", "7.05"}, {"4", "9.9"}, {"5", "15.1"}, {"6", "21.95"}}, "2",
         "Regression order 2 polynomial"},
    };
    for (const auto& c : cases) {
        quilvex::testing::Find<QLineEdit>(Main(), "RegrOrdEdit")->setText(c.order);
        Show(c.rows, {Method::Exponential, Method::Logarithmic, Method::Power});
        int marked = 0;
        for (int r = 0; r < C<QSortFilterProxyModel>("Sorted")->rowCount(); ++r)
            marked += Data(r, kMethodCol, kMarkedRole).toBool();
        EXPECT_EQ(marked, 1) << c.marked.toStdString();
        const int row = RowOf(c.marked);
        ASSERT_GE(row, 0) << c.marked.toStdString();
        EXPECT_TRUE(Data(row, kMethodCol, kMarkedRole).toBool()) << c.marked.toStdString();
        EXPECT_EQ(At(row, kDeltaAiccCol), "0") << c.marked.toStdString();
    }
}

TEST_F(FitDetailsTest, CopiesSelectedCellsAsTsvAndTheTableAsCsvWithPoints)
{
    SetDecimalSeparator(',');
    Show(kExponential, {Method::Exponential});
    const std::vector<MethodFigures> stats = Statistics();
    QItemSelectionModel& selection = *C<QTableView>("Table")->selectionModel();
    selection.select(C<QSortFilterProxyModel>("Sorted")->index(1, kSsrCol), QItemSelectionModel::Select);
    selection.select(C<QSortFilterProxyModel>("Sorted")->index(1, kRmsCol), QItemSelectionModel::Select);
    selection.select(C<QSortFilterProxyModel>("Sorted")->index(2, kRmsCol), QItemSelectionModel::Select);
    const std::string tsv = D().SelectionAsTsv().toStdString();
    EXPECT_EQ(tsv, Digits18(*stats[1].ssr.value) + "\t" + Digits18(*stats[1].rms.value) + "\n\t" +
                       Digits18(*stats[2].rms.value) + "\n");
    // The residual plot follows the selection: rows 1 and 2.
    EXPECT_EQ(C<ResidualPlot>("Residuals")->Series().size(), 2u);

    const QStringList csv = D().TableAsCsv().split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(csv.size(), 1 + C<QSortFilterProxyModel>("Sorted")->rowCount());
    EXPECT_TRUE(csv[0].startsWith("Method,Formula,Coefficients (value ± SE),95 % interval,SSR,RMS,R²"));
    EXPECT_TRUE(csv[3].startsWith("Exponential,\"y = a e^(b x), least squares of ln y\",a = ")) << csv[3].toStdString();
    EXPECT_TRUE(csv[3].contains("," + QString::fromStdString(Digits18(*stats[2].ssr.value)) + ","));
    QGuiApplication::clipboard()->clear();
    C<QPushButton>("CopyCsvButton")->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), D().TableAsCsv());
    SetDecimalSeparator('.');
}

TEST_F(FitDetailsTest, BandsOffLeaveTheDesignedPicture)
{
    Show(kExponential, {Method::Exponential, Method::Power});
    const QImage designed = quilvex::testing::Find<PaintBox>(Plot(), "PlotPaintBox")->Canvas().Image().copy();
    C<QCheckBox>("BandsCheckBox")->setChecked(true);
    const QImage withBands = quilvex::testing::Find<PaintBox>(Plot(), "PlotPaintBox")->Canvas().Image().copy();
    C<QCheckBox>("PredictionCheckBox")->setChecked(true);
    const QImage withBoth = quilvex::testing::Find<PaintBox>(Plot(), "PlotPaintBox")->Canvas().Image().copy();
    C<QCheckBox>("BandsCheckBox")->setChecked(false);
    EXPECT_NE(withBands, designed);
    EXPECT_NE(withBoth, withBands);
    EXPECT_EQ(quilvex::testing::Find<PaintBox>(Plot(), "PlotPaintBox")->Canvas().Image(), designed);
}

TEST_F(FitDetailsTest, ExportsTheResidualPlotWithTheGraphsChoices)
{
    Show(kExponential, {Method::Exponential});
    QTemporaryDir dir;
    const auto path = [&](const char* name) { return dir.filePath(name).toStdString(); };
    dialogs.graphNames = {{path("r"), GraphFileType::Png}, {path("r2"), GraphFileType::PngDoubleSize},
                          {path("r.svg"), GraphFileType::Png}};
    for (int i = 0; i < 3; ++i)
        D().ExportPlotClick();
    const QSize size = C<ResidualPlot>("Residuals")->size();
    EXPECT_EQ(QImage(dir.filePath("r.png")).size(), size);
    EXPECT_EQ(QImage(dir.filePath("r2.png")).size(), size * 2);
    QFile svg(dir.filePath("r.svg"));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    EXPECT_TRUE(svg.readAll().contains("<svg"));
}

TEST_F(FitDetailsTest, SaysAboveTheTableWhenTheGridIsNotTheTableOfItsFigures)
{
    const QString differs = "The figures describe the table as it was last plotted, which differs from the grid.";
    const struct {
        const char* what;
        std::function<void()> change;
        QString note;  // none: the figures still describe the grid
    } cases[] = {
        {"Delete Row, which does not replot", [&] { quilvex::testing::Find<QPushButton>(Main(), "DeleteRowButton")->click(); },
         differs},
        {"a cell changed", [&] { Grid().SetCell(1, 2, "7"); }, differs},
        {"a cell given its own text", [&] { Grid().SetCell(1, 2, Cell(1, 2)); }, ""},
        {"Add Row: an empty row holds no point", [&] { quilvex::testing::Find<QPushButton>(Main(), "AddRowButton")->click(); },
         ""},
        {"File > Open with graphing off",
         [&] {
             Doc().SetGraphingEnabled(false);
             if (Doc().Unsaved())
                 dialogs.answers.push_back(BoxAnswer::Discard);  // the question before opening
             Main().OpenDataFile(QUILVEX_EXAMPLES "/noisy.dta");
         },
         kGraphingOffNote},
    };
    for (const auto& c : cases) {
        Doc().SetGraphingEnabled(true);
        Show(kExponential, {});
        QLabel* note = C<QLabel>("StaleNote");
        EXPECT_TRUE(note->isHidden()) << c.what;
        c.change();
        EXPECT_EQ(note->isHidden(), c.note.isEmpty()) << c.what;
        EXPECT_EQ((note->isHidden() ? QString() : note->text()).toStdString(), c.note.toStdString()) << c.what;
        Doc().SetGraphingEnabled(true);
        Doc().Replot();
        EXPECT_TRUE(note->isHidden()) << c.what << ": the figures describe the grid again";
    }
}

TEST_F(FitDetailsTest, ShownAgainAfterAChangeWithoutReplotItSaysTheGridDiffers)
{
    Show(kExponential, {});
    D().hide();
    quilvex::testing::Find<QPushButton>(Main(), "DeleteRowButton")->click();
    D().ShowAndRaise();
    EXPECT_FALSE(C<QLabel>("StaleNote")->isHidden());
}

TEST_F(FitDetailsTest, CtrlCWithNothingSelectedLeavesTheClipboard)
{
    Show(kExponential, {});
    QAction* copy = nullptr;
    for (QAction* action : D().actions())
        if (action->shortcut() == QKeySequence(QKeySequence::Copy))
            copy = action;
    ASSERT_NE(copy, nullptr);
    QGuiApplication::clipboard()->setText("kept");
    copy->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "kept");
    C<QTableView>("Table")->selectionModel()->select(C<QSortFilterProxyModel>("Sorted")->index(1, kSsrCol),
                                                     QItemSelectionModel::Select);
    copy->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), D().SelectionAsTsv());
}

TEST_F(FitDetailsTest, NoLowestAiccWhereALeastSquaresFitHasNone)
{
    std::vector<std::pair<std::string, std::string>> sine;
    for (int i = 1; i <= 8; ++i)
        sine.push_back({std::to_string(i), FormatGeneral(2 + std::sin(static_cast<Real>(i)), 8, '.')});
    const auto note = [&] {
        return C<QSortFilterProxyModel>("Sorted")->headerData(kDeltaAiccCol, Qt::Horizontal, Qt::ToolTipRole).toString();
    };
    const auto markedRows = [&] {
        int marked = 0;
        for (int r = 0; r < C<QSortFilterProxyModel>("Sorted")->rowCount(); ++r)
            marked += Data(r, kMethodCol, kMarkedRole).toBool();
        return marked;
    };
    quilvex::testing::Find<QLineEdit>(Main(), "RegrOrdEdit")->setText("7");  // through every point: no AICc
    Show(sine, {Method::Exponential});
    EXPECT_EQ(markedRows(), 0);
    const int exponential = RowOf("Exponential, least squares");
    ASSERT_GE(exponential, 0);
    EXPECT_EQ(At(exponential, kDeltaAiccCol), "");
    EXPECT_TRUE(note().startsWith("No lowest AICc marked, as Regression order 7 polynomial has none: ")) << note().toStdString();
    EXPECT_EQ(At(exponential, kDeltaAiccCol, Qt::ToolTipRole), note());
    EXPECT_FALSE(C<QLabel>("MarkNote")->isHidden());
    EXPECT_EQ(C<QLabel>("MarkNote")->text(), note());

    quilvex::testing::Find<QLineEdit>(Main(), "RegrOrdEdit")->setText("2");
    Show(sine, {Method::Exponential});
    EXPECT_EQ(markedRows(), 1);
    EXPECT_EQ(note(), "");
    EXPECT_TRUE(C<QLabel>("MarkNote")->isHidden());
}

// Where the stability check flags the designed regression, the stable
// solver's row follows it with the standard errors and intervals the
// designed row no longer gives.
TEST_F(FitDetailsTest, TheStableRegressionFollowsAFlaggedDesignedOne)
{
    quilvex::testing::Find<QLineEdit>(Main(), "RegrOrdEdit")->setText("4");
    Show({{"0.00012207031", "1.078125"}, {"0.00024414062", "1.15625"}, {"0.00036621094", "1.21875"},
          {"0.00048828125", "1.296875"}, {"0.00061035156", "1.359375"}, {"0.00073242188", "1.4375"},
          {"0.00085449219", "1.5"}, {"0.0009765625", "1.5625"}, {"0.0010986328", "1.625"},
          {"0.0012207031", "1.6875"}, {"0.0013427734", "1.734375"}, {"0.0014648438", "1.78125"}},
         {});
    const int designed = RowOf("Regression order 4 polynomial");
    const int stable = RowOf("Regression order 4 polynomial, stable solver");
    ASSERT_GE(designed, 0);
    ASSERT_EQ(stable, designed + 1);
    EXPECT_EQ(At(designed, kIntervalsCol), "");
    EXPECT_NE(At(stable, kIntervalsCol), "");
    EXPECT_TRUE(At(designed, kWarningsCol, Qt::ToolTipRole).contains("regression-stable gives"));
    EXPECT_TRUE(At(designed, kWarningsCol, Qt::ToolTipRole).contains("agree with the stable solver's to 0 significant"));
    EXPECT_LT(At(stable, kSsrCol).toDouble(), At(designed, kSsrCol).toDouble());
}

TEST_F(FitDetailsTest, ListsTheAscendingAdjustmentOfAnOpenedFileAsTheCommandDoes)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("unsorted.dta").toStdString();
    const std::string bytes = "1 1\n3 4\n2 9\n5 2\n";
    std::ofstream(path, std::ios::binary) << bytes;
    QuilvexState loaded;
    const std::vector<std::string> command = LoadPointTable(bytes, path, loaded).warnings;
    ASSERT_EQ(command.size(), 1u);
    const auto warned = [&](int row) { return At(row, kWarningsCol).startsWith(QString::fromStdString(command[0])); };
    D().ShowAndRaise();
    Main().OpenDataFile(path);  // its second replot finds X ascending
    D().FinishUpdate();
    ASSERT_EQ(C<QSortFilterProxyModel>("Sorted")->rowCount(), 2);  // the spline and the regression
    EXPECT_TRUE(warned(0)) << At(0, kWarningsCol).toStdString();
    EXPECT_TRUE(warned(1));

    Grid().SetCell(0, 2, "4");
    Main().DrawGraph();
    D().FinishUpdate();
    EXPECT_FALSE(At(0, kWarningsCol).contains("not ascending"));
    EXPECT_FALSE(At(1, kWarningsCol).contains("not ascending"));
}
