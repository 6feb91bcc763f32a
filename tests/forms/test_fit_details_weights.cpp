// The "Fit details" window under a weighting: the Weights selector writes the
// document's weighting and turns the weighted curves on; the weighted rows'
// figures come as added columns, in the copies too, and none are added
// without a weighting; the hint where the table gives sigma; the line of the
// excluded rows; the residual plot's excluded and normalised residuals.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>

#include "details/residualseries.h"
#include "support/app_fixture.h"
#include "support/controls.h"

using namespace quilvex;
using namespace quilvex::testing;

namespace {

class FitDetailsWeightsTest : public AppTest {
protected:
    TFitDetailsForm& D() { return app->Details(); }
    template <typename Control>
    Control* C(const char* name) { return quilvex::testing::Find<Control>(D(), name); }

    void Show()
    {
        SetGrid(kTable);
        Doc().SetMethodChecked(Method::Regression, true);
        Main().DrawGraph();
        D().ShowAndRaise();
        D().FinishUpdate();
    }
    void Choose(Weighting weighting)
    {
        C<QComboBox>("WeightsCombo")->setCurrentIndex(static_cast<int>(weighting));
        D().FinishUpdate();
    }
    QString Heading(int column) { return C<QSortFilterProxyModel>("Sorted")->headerData(column, Qt::Horizontal).toString(); }

    const std::vector<std::pair<std::string, std::string>> kTable = {
        {"1", "3.1"}, {"2", "4.9"}, {"3", "7.2"}, {"4", "8.8"}, {"5", "11.1"}, {"6", "13.2"}};
};

Coefficient Coef(const char* name, Real value, Real se, std::optional<Real> seAbsolute)
{
    Coefficient c{name, value, se, {}, seAbsolute};
    return c;
}

// A weighted straight line y = 1 + 2x beside its designed row, fitted to
// points at x = 1, 2, 4 with the point (3, 10) left out.
DetailsResult WeightedLine(Weighting weighting)
{
    DetailsResult result;
    result.input.weighting = weighting;
    result.input.table = {{1, 2, 4}, {3.5L, 5, 9}, {"0.5", "0.5", "0.25"}, {1, 2, 4}, {3}};
    result.input.excluded = {{2, 3, 10, "2"}};
    MethodFigures designed;
    designed.method = StatsMethod::Regression;
    designed.order = 1;
    designed.coefficients = {Coef("a0", 1, 0.5L, {}), Coef("a1", 2, 0.25L, {})};
    designed.residuals = {0.5L, 0, 0};
    MethodFigures weighted = designed;
    weighted.method = StatsMethod::RegressionWeighted;
    weighted.coefficients = {Coef("a0", 1, 0.75L, 0.125L), Coef("a1", 2, 0.375L, 0.0625L)};
    weighted.chi2 = Figure::Of(1);
    weighted.dof = 1;
    weighted.chi2Reduced = Figure::Of(1);
    weighted.pValue = Figure::Of(0.25L);
    weighted.normalisedResiduals = {1, 0, 0};
    MethodFigures spline;
    spline.method = StatsMethod::Spline;
    spline.residuals = {0, 0, 0};
    result.rows = {designed, weighted, spline};
    return result;
}

}  // namespace

TEST_F(FitDetailsWeightsTest, TheSelectorWritesTheWeightingAndAddsItsColumns)
{
    Show();
    const int designedColumns = C<QSortFilterProxyModel>("Sorted")->columnCount();
    EXPECT_EQ(designedColumns, kDetailsColumns);
    EXPECT_FALSE(C<QCheckBox>("WeightedCurvesCheckBox")->isEnabled());
    // weighting | columns added | the last heading
    const struct {
        Weighting weighting;
        int added;
        const char* last;
    } cases[] = {{Weighting::Y, 5, "se (scaled)"},
                 {Weighting::Sigma, 6, "se (σ exact)"},
                 {Weighting::Y2, 5, "se (scaled)"},
                 {Weighting::None, 0, "Warnings"}};
    for (const auto& c : cases) {
        Choose(c.weighting);
        EXPECT_EQ(Doc().GetWeighting(), c.weighting);
        const int columns = C<QSortFilterProxyModel>("Sorted")->columnCount();
        EXPECT_EQ(columns, kDetailsColumns + c.added) << WeightingName(c.weighting);
        EXPECT_EQ(Heading(columns - 1), c.last) << WeightingName(c.weighting);
        if (c.added > 0) {
            EXPECT_EQ(Heading(kChi2Col), "χ²") << WeightingName(c.weighting);
        }
        EXPECT_EQ(D().TableAsCsv().section('\n', 0, 0).count(',') + 1, columns) << WeightingName(c.weighting);
        EXPECT_EQ(C<QCheckBox>("WeightedCurvesCheckBox")->isEnabled(), c.weighting != Weighting::None);
    }
    EXPECT_TRUE(Doc().WeightedCurvesShown());
}

TEST_F(FitDetailsWeightsTest, TheHintAndTheExcludedRowsFollowTheTable)
{
    Show();
    EXPECT_FALSE(C<QLabel>("WeightsHint")->isVisible());
    EXPECT_FALSE(C<QLabel>("ExcludedNote")->isVisible());
    // The table as a replot leaves it with sigma given and rows 2 and 5 left out.
    S().n = 4;
    S().x[2] = 3, S().y[2] = 7.2L, S().x[3] = 4, S().y[3] = 8.8L, S().x[4] = 6, S().y[4] = 13.2L;
    S().PointRows = {0, 2, 3, 5};
    S().SigmaTexts = {"0.1", "", "0.2", "0.1"};
    S().Excluded = {{1, 2, 4.9L, "0.1"}, {4, 5, 11.1L, ""}};
    D().FollowReplot();
    D().FinishUpdate();
    EXPECT_TRUE(C<QLabel>("WeightsHint")->isVisible());
    EXPECT_EQ(C<QLabel>("WeightsHint")->text(), "The table gives σ: choose Weights 1/σ² to use it");
    EXPECT_TRUE(C<QLabel>("ExcludedNote")->isVisible());
    EXPECT_EQ(C<QLabel>("ExcludedNote")->text(), "excluded: rows 2, 5");
    C<QComboBox>("WeightsCombo")->setCurrentIndex(static_cast<int>(Weighting::Sigma));
    D().FollowReplot();
    D().FinishUpdate();
    EXPECT_FALSE(C<QLabel>("WeightsHint")->isVisible());
}

TEST_F(FitDetailsWeightsTest, WeightedRowsShowTheirFiguresAndBothStandardErrors)
{
    DetailsModel model;
    model.SetResult(WeightedLine(Weighting::Sigma));
    const auto text = [&](int row, int column) { return model.index(row, column).data(kCopyRole).toString(); };
    EXPECT_EQ(model.columnCount(), kAllDetailsColumns);
    // column | designed row | weighted row
    const struct {
        int column;
        const char* designed;
        const char* weighted;
    } cases[] = {{kMethodCol, "Regression order 1 polynomial", "Regression order 1 polynomial, weighted"},
                 {kFormulaCol, "y = a0 + a1 x + … + am x^m, least squares",
                  "y = a0 + a1 x + … + am x^m, weighted least squares"},
                 {kChi2Col, "", "1"},
                 {kDofCol, "", "1"},
                 {kPValueCol, "", "0.25"},
                 {kSeScaledCol, "", "a0: 0.75; a1: 0.375"},
                 {kSeAbsoluteCol, "", "a0: 0.125; a1: 0.0625"}};
    for (const auto& c : cases) {
        EXPECT_EQ(text(0, c.column), c.designed) << c.column;
        EXPECT_EQ(text(1, c.column), c.weighted) << c.column;
    }
    EXPECT_EQ(model.index(0, kChi2Col).data(Qt::DisplayRole).toString(), "–");
}

TEST_F(FitDetailsWeightsTest, ResidualsOfExcludedPointsAndNormalisedResiduals)
{
    const DetailsResult result = WeightedLine(Weighting::Sigma);
    const std::vector<ResidualSeries> plain = ResidualSeriesOf(result, {true, true, true}, false);
    ASSERT_EQ(plain.size(), 3u);
    // The point (3, 10) is 3 above the line 1 + 2x; the spline has no formula to measure it from.
    EXPECT_EQ(plain[0].excludedR, std::vector<Real>{3});
    EXPECT_EQ(plain[1].excludedR, std::vector<Real>{3});
    EXPECT_TRUE(plain[2].excludedR.empty());
    EXPECT_EQ(plain[1].r, result.rows[1].residuals);

    // Normalised: the weighted row only, its point left out divided by its sigma of 2.
    const std::vector<ResidualSeries> normalised = ResidualSeriesOf(result, {true, true, true}, true);
    ASSERT_EQ(normalised.size(), 1u);
    EXPECT_EQ(normalised[0].r, result.rows[1].normalisedResiduals);
    EXPECT_EQ(normalised[0].excludedR, std::vector<Real>{1.5L});
    EXPECT_TRUE(ResidualSeriesOf(result, {true, false, true}, true).empty());
}
