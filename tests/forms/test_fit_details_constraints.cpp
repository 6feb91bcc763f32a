// The "Fit details" window's constraints editor: it opens on the model's set
// and replaces only that set; the constrained row follows its free row with
// its constraints in its formula, in the copies too; a set that cannot be
// fitted is refused inside the editor; Clear and undo.
#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "support/app_fixture.h"

using namespace quilvex;
using namespace quilvex::testing;

namespace {

// Controls of the editor and what goes in: a check box "on" or "off", an edit its text.
using Fields = std::vector<std::pair<const char*, const char*>>;

class FitDetailsConstraintsTest : public AppTest {
protected:
    TFitDetailsForm& D() { return app->Details(); }
    QWidget& E() { return *Find<QWidget>(D(), "ConstraintsEditor"); }
    QSortFilterProxyModel& Table() { return *Find<QSortFilterProxyModel>(D(), "Sorted"); }

    void SetUp() override
    {
        AppTest::SetUp();
        SetGrid({{"1", "2.7"}, {"2", "7.4"}, {"3", "20.1"}, {"4", "54.6"}, {"5", "148"}, {"6", "403"}});
        for (const Method m : {Method::Regression, Method::Exponential, Method::Power})
            Doc().SetMethodChecked(m, true);
        Main().DrawGraph();
        D().ShowAndRaise();
        D().FinishUpdate();
    }
    int RowOf(StatsMethod method)
    {
        for (int r = 0; r < Table().rowCount(); ++r)
            if (Table().index(r, kMethodCol).data().toString() == MethodTitle({.method = method, .order = 3}, 6))
                return r;
        return -1;
    }
    // Selects the row and clicks "Constraints…"; whether the editor opened.
    bool Open(StatsMethod method)
    {
        Find<QTableView>(D(), "Table")->setCurrentIndex(Table().index(RowOf(method), kFormulaCol));
        Find<QPushButton>(D(), "ConstraintsButton")->click();
        return E().isVisible();
    }
    void Enter(const Fields& fields)
    {
        for (const auto& [name, text] : fields)
            if (auto* box = E().findChild<QCheckBox*>(name))
                box->setChecked(std::string_view(text) == "on");
            else
                Find<QLineEdit>(E(), name)->setText(text);
    }
    void Press(const char* button)
    {
        Find<QPushButton>(E(), button)->click();
        D().FinishUpdate();
    }
    const Constraints& Set(StatsMethod method) { return *Doc().GetConstraints().Of(method); }
};

}  // namespace

TEST_F(FitDetailsConstraintsTest, TheEditorReplacesItsModelsSetAndTheConstrainedRowFollows)
{
    // row | entered (the editor shows the set before) | the model's set | the constrained row's formula ends
    const struct {
        StatsMethod row;
        Fields entered;
        Constraints set;
        const char* formulaEnd;
    } cases[] = {
        {StatsMethod::Regression, {{"OriginCheckBox", "on"}}, {true, {}, {}}, ", least squares [a0=0]"},
        {StatsMethod::RegressionConstrained,
         {{"OriginCheckBox", "off"}, {"PointCheckBox", "on"}, {"PointXEdit", "1"}, {"PointYEdit", "2.5"}, {"HeldEdit", "a3 = 0.25"}},
         {false, std::pair<Real, Real>{1, 2.5L}, {{"a3", 0.25L}}}, " [through=(1,2.5), a3=0.25]"},
        {StatsMethod::Regression, {{"HeldEdit", "a1=2, a3=0"}},
         {false, std::pair<Real, Real>{1, 2.5L}, {{"a1", 2}, {"a3", 0}}}, " [through=(1,2.5), a1=2, a3=0]"},
        {StatsMethod::ExponentialNls, {{"HoldBCheckBox", "on"}, {"HoldBEdit", "1"}}, {false, {}, {{"b", 1}}},
         "y = a e^(b x), least squares [b=1]"},
        {StatsMethod::PowerNls, {{"HoldACheckBox", "on"}, {"HoldAEdit", "2.5"}}, {false, {}, {{"a", 2.5L}}},
         "y = a x^b, least squares [a=2.5]"},
    };
    for (const auto& c : cases) {
        const StatsMethod model = *ConstrainableModelOf(c.row);
        const MethodConstraints before = Doc().GetConstraints();
        ASSERT_TRUE(Open(c.row)) << c.formulaEnd;
        EXPECT_EQ(E().windowTitle(), QString::fromStdString("Constraints: " + StatsMethodName(model)));
        Enter(c.entered);
        Press("OkButton");
        EXPECT_FALSE(E().isVisible()) << c.formulaEnd;
        EXPECT_TRUE(Find<QPushButton>(D(), "ConstraintsButton")->isEnabled()) << c.formulaEnd << ": the row stays current";
        MethodConstraints expected = before;
        *expected.Of(model) = c.set;
        EXPECT_EQ(Doc().GetConstraints(), expected) << c.formulaEnd;
        const int row = RowOf(*ConstrainedOf(model));
        EXPECT_EQ(row, RowOf(model) + 1) << c.formulaEnd;
        EXPECT_TRUE(Table().index(row, kFormulaCol).data(kCopyRole).toString().endsWith(c.formulaEnd)) << c.formulaEnd;
        EXPECT_TRUE(D().TableAsCsv().contains(c.formulaEnd)) << c.formulaEnd;
    }
    EXPECT_FALSE(Open(StatsMethod::Exponential));
    Doc().SetWeighting(Weighting::Y);
    D().FinishUpdate();
    EXPECT_TRUE(Table()
                    .index(RowOf(StatsMethod::RegressionConstrained), kFormulaCol)
                    .data(kCopyRole)
                    .toString()
                    .endsWith(", weighted least squares [through=(1,2.5), a1=2, a3=0]"));
}

TEST_F(FitDetailsConstraintsTest, AnInvalidSetIsRefusedInsideTheEditor)
{
    // row | entered | the message
    const struct {
        StatsMethod row;
        Fields entered;
        const char* message;
    } cases[] = {
        {StatsMethod::Regression, {{"OriginCheckBox", "on"}, {"PointCheckBox", "on"}, {"PointXEdit", "1"}, {"PointYEdit", "2"}},
         "through the origin and through a point: give one point"},
        {StatsMethod::Regression, {{"HeldEdit", "a4=1"}}, "the regression of order 3 has no coefficient a4"},
        {StatsMethod::Regression, {{"HeldEdit", "a1=two"}}, "Cannot read 'a1=two' as NAME=VALUE, as in a1=2"},
        {StatsMethod::Regression, {{"HeldEdit", "b=1"}}, "The regression has no coefficient named 'b'"},
        {StatsMethod::Regression, {{"PointCheckBox", "on"}, {"PointXEdit", "1"}, {"PointYEdit", "1,5"}},
         "The point's Y is not a number: '1,5'"},
        {StatsMethod::ExponentialNls, {{"HoldACheckBox", "on"}, {"HoldAEdit", "1"}, {"HoldBCheckBox", "on"}, {"HoldBEdit", "1"}},
         "exponential-nls: a and b both held leave nothing to fit; hold one of them"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Open(c.row)) << c.message;
        EXPECT_FALSE(Find<QLabel>(E(), "ErrorLabel")->isVisible()) << c.message << ": an earlier message stays";
        Enter(c.entered);
        Press("OkButton");
        EXPECT_TRUE(E().isVisible()) << c.message;
        EXPECT_EQ(Find<QLabel>(E(), "ErrorLabel")->text(), c.message);
        EXPECT_TRUE(Doc().GetConstraints().Empty()) << c.message;
        Press("CancelButton");
    }
}

TEST_F(FitDetailsConstraintsTest, ClearAndUndoAreStepsOfTheHistory)
{
    const auto undo = [this] {
        Find<QAction>(Main(), "UndoAction")->trigger();
        D().FinishUpdate();
    };
    ASSERT_TRUE(Open(StatsMethod::Regression));
    Enter({{"HeldEdit", "a2=1e-3"}});
    Press("OkButton");
    ASSERT_TRUE(Open(StatsMethod::RegressionConstrained));
    EXPECT_EQ(Find<QLineEdit>(E(), "HeldEdit")->text(), "a2=0.001");
    Press("OkButton");  // unchanged: no step
    ASSERT_TRUE(Open(StatsMethod::RegressionConstrained));
    Press("ClearButton");
    EXPECT_TRUE(Doc().GetConstraints().Empty());
    EXPECT_EQ(RowOf(StatsMethod::RegressionConstrained), -1);
    undo();
    EXPECT_EQ(Set(StatsMethod::Regression).held, (std::vector<HeldCoefficient>{{"a2", 0.001L}}));
    EXPECT_GE(RowOf(StatsMethod::RegressionConstrained), 0);
    undo();
    EXPECT_TRUE(Doc().GetConstraints().Empty());
}
