// The "Fit details" window's constraints editor: what its controls set is the
// document's set of that method only, and the constrained row follows its
// free row with its constraints in its formula, in the copies too; a set that
// cannot be fitted is refused inside the editor; Clear and undo.
#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "support/app_fixture.h"
#include "support/controls.h"

using namespace quilvex;
using namespace quilvex::testing;

namespace {

// What a case types into the editor; an empty text leaves its box unticked.
struct Typed {
    bool origin = false;
    const char* pointX = "";
    const char* pointY = "";
    const char* held = "";
    const char* holdA = "";
    const char* holdB = "";
};

class FitDetailsConstraintsTest : public AppTest {
protected:
    TFitDetailsForm& D() { return app->Details(); }
    QWidget& E() { return *Find<QWidget>(D(), "ConstraintsEditor"); }
    template <typename Control>
    Control* C(const char* name) { return Find<Control>(E(), name); }

    void SetUp() override
    {
        AppTest::SetUp();
        SetGrid({{"1", "2.7"}, {"2", "7.4"}, {"3", "20.1"}, {"4", "54.6"}, {"5", "148"}, {"6", "403"}});
        for (const Method m : {Method::Spline, Method::Regression, Method::Exponential, Method::Power})
            Doc().SetMethodChecked(m, true);
        Main().DrawGraph();
        D().ShowAndRaise();
        D().FinishUpdate();
    }
    // The table's row of the method, or -1.
    int RowOf(StatsMethod method)
    {
        const auto& model = *Find<QSortFilterProxyModel>(D(), "Sorted");
        for (int r = 0; r < model.rowCount(); ++r)
            if (model.index(r, kMethodCol).data().toString() ==
                MethodTitle({.method = method, .order = 3}, 6))
                return r;
        return -1;
    }
    QString Formula(StatsMethod method)
    {
        const int row = RowOf(method);
        return row < 0 ? QString() : Find<QSortFilterProxyModel>(D(), "Sorted")->index(row, kFormulaCol).data(kCopyRole).toString();
    }
    void OpenEditor(StatsMethod method)
    {
        auto* table = Find<QTableView>(D(), "Table");
        table->setCurrentIndex(table->model()->index(RowOf(method), kMethodCol));
        Find<QPushButton>(D(), "ConstraintsButton")->click();
        ASSERT_TRUE(E().isVisible());
    }
    void Type(const Typed& t)
    {
        C<QCheckBox>("OriginCheckBox")->setChecked(t.origin);
        C<QCheckBox>("PointCheckBox")->setChecked(*t.pointX != '\0' || *t.pointY != '\0');
        C<QLineEdit>("PointXEdit")->setText(t.pointX);
        C<QLineEdit>("PointYEdit")->setText(t.pointY);
        C<QLineEdit>("HeldEdit")->setText(t.held);
        C<QCheckBox>("HoldACheckBox")->setChecked(*t.holdA != '\0');
        C<QLineEdit>("HoldAEdit")->setText(t.holdA);
        C<QCheckBox>("HoldBCheckBox")->setChecked(*t.holdB != '\0');
        C<QLineEdit>("HoldBEdit")->setText(t.holdB);
    }
    void Press(const char* button)
    {
        C<QPushButton>(button)->click();
        D().FinishUpdate();
    }
    Constraints Set(StatsMethod method) { return *Doc().GetConstraints().Of(method); }
};

Constraints Held(std::vector<HeldCoefficient> held) { return {false, std::nullopt, std::move(held)}; }

}  // namespace

TEST_F(FitDetailsConstraintsTest, TheEditorSetsItsMethodsConstraintsAndTheConstrainedRowFollows)
{
    // row edited | typed | the method's set | the constrained row | its formula ends
    const struct {
        StatsMethod row;
        Typed typed;
        Constraints set;
        StatsMethod constrained;
        const char* formulaEnd;
    } cases[] = {
        {StatsMethod::Regression, {.origin = true}, {true, {}, {}}, StatsMethod::RegressionConstrained,
         ", least squares [a0=0]"},
        {StatsMethod::Regression, {.pointX = "1", .pointY = "2.5", .held = "a3 = 0.25"},
         {false, std::pair<Real, Real>{1, 2.5L}, {{"a3", 0.25L}}}, StatsMethod::RegressionConstrained,
         " [through=(1,2.5), a3=0.25]"},
        {StatsMethod::RegressionConstrained, {.held = "a1=2, a3=0 a2=-1"}, Held({{"a1", 2}, {"a3", 0}, {"a2", -1}}),
         StatsMethod::RegressionConstrained, " [a1=2, a3=0, a2=-1]"},
        {StatsMethod::ExponentialNls, {.holdB = "1"}, Held({{"b", 1}}), StatsMethod::ExponentialNlsConstrained,
         "y = a e^(b x), least squares [b=1]"},
        {StatsMethod::PowerNls, {.holdA = "2.5"}, Held({{"a", 2.5L}}), StatsMethod::PowerNlsConstrained,
         "y = a x^b, least squares [a=2.5]"},
    };
    for (const auto& c : cases) {
        const std::string name = StatsMethodName(c.row) + " " + c.formulaEnd;
        const MethodConstraints before = Doc().GetConstraints();
        OpenEditor(c.row);
        EXPECT_EQ(E().windowTitle(), QString::fromStdString("Constraints: " + StatsMethodName(*ConstrainableModelOf(c.row))));
        Type(c.typed);
        Press("OkButton");
        EXPECT_FALSE(E().isVisible()) << name;
        EXPECT_EQ(Set(c.row), c.set) << name;
        MethodConstraints others = Doc().GetConstraints();
        *others.Of(c.row) = *before.Of(c.row);
        EXPECT_EQ(others, before) << name << ": another method's set changed";
        EXPECT_EQ(RowOf(c.constrained), RowOf(ConstrainableModelOf(c.row).value()) + 1) << name;
        EXPECT_TRUE(Formula(c.constrained).endsWith(c.formulaEnd)) << name << ": " << Formula(c.constrained).toStdString();
        EXPECT_TRUE(D().TableAsCsv().contains(c.formulaEnd)) << name;
    }
}

TEST_F(FitDetailsConstraintsTest, AnInvalidSetIsRefusedInsideTheEditor)
{
    // row edited | typed | the message
    const struct {
        StatsMethod row;
        Typed typed;
        const char* message;
    } cases[] = {
        {StatsMethod::Regression, {.origin = true, .pointX = "1", .pointY = "2"},
         "through the origin and through a point: give one point"},
        {StatsMethod::Regression, {.held = "a4=1"}, "the regression of order 3 has no coefficient a4"},
        {StatsMethod::Regression, {.held = "a1=2,, a1=3"}, "a1 is held twice"},
        {StatsMethod::Regression, {.held = "a1=two"}, "Cannot read 'a1=two' as NAME=VALUE, as in a1=2"},
        {StatsMethod::Regression, {.held = "b=1"}, "The regression has no coefficient named 'b'"},
        {StatsMethod::Regression, {.pointX = "1", .pointY = "1,5"}, "The point's Y is not a number: '1,5'"},
        {StatsMethod::ExponentialNls, {.holdA = "1", .holdB = "1"},
         "exponential-nls: a and b both held leave nothing to fit; hold one of them"},
        {StatsMethod::PowerNls, {.holdB = "x"}, "Hold b at: 'x' is not a number"},
    };
    for (const auto& c : cases) {
        OpenEditor(c.row);
        EXPECT_FALSE(C<QLabel>("ErrorLabel")->isVisible()) << c.message << ": an earlier message stays";
        Type(c.typed);
        Press("OkButton");
        EXPECT_TRUE(E().isVisible()) << c.message;
        EXPECT_TRUE(C<QLabel>("ErrorLabel")->isVisible()) << c.message;
        EXPECT_EQ(C<QLabel>("ErrorLabel")->text(), c.message);
        EXPECT_TRUE(Doc().GetConstraints().Empty()) << c.message;
        Press("CancelButton");
    }
}

TEST_F(FitDetailsConstraintsTest, TheEditorShowsTheSetAndClearAndUndoAreSteps)
{
    const auto undo = [this] {
        Find<QAction>(Main(), "UndoAction")->trigger();
        D().FinishUpdate();
    };
    OpenEditor(StatsMethod::Regression);
    Type({.pointX = "0.1", .pointY = "-3", .held = "a2=1e-3"});
    Press("OkButton");
    const Constraints set{false, std::pair<Real, Real>{0.1L, -3}, {{"a2", 0.001L}}};
    ASSERT_EQ(Set(StatsMethod::Regression), set);

    OpenEditor(StatsMethod::RegressionConstrained);
    EXPECT_TRUE(C<QCheckBox>("PointCheckBox")->isChecked());
    EXPECT_EQ(C<QLineEdit>("PointXEdit")->text(), "0.1");
    EXPECT_EQ(C<QLineEdit>("HeldEdit")->text(), "a2=0.001");
    Press("OkButton");  // unchanged: no step
    Press("ClearButton");
    EXPECT_TRUE(Doc().GetConstraints().Empty());
    EXPECT_EQ(RowOf(StatsMethod::RegressionConstrained), -1);

    undo();
    EXPECT_EQ(Set(StatsMethod::Regression), set);
    EXPECT_GE(RowOf(StatsMethod::RegressionConstrained), 0);
    undo();
    EXPECT_TRUE(Doc().GetConstraints().Empty());
}

TEST_F(FitDetailsConstraintsTest, OnlyRowsOfAModelWithConstraintsOpenTheEditor)
{
    auto* table = Find<QTableView>(D(), "Table");
    const auto enabledOn = [&](StatsMethod method) {
        table->setCurrentIndex(table->model()->index(RowOf(method), kFormulaCol));
        return Find<QPushButton>(D(), "ConstraintsButton")->isEnabled();
    };
    // row | the button enabled
    const std::pair<StatsMethod, bool> cases[] = {{StatsMethod::Regression, true},   {StatsMethod::Exponential, false},
                                                  {StatsMethod::ExponentialNls, true}, {StatsMethod::Power, false},
                                                  {StatsMethod::PowerNls, true},      {StatsMethod::Spline, false}};
    for (const auto& [method, enabled] : cases)
        EXPECT_EQ(enabledOn(method), enabled) << StatsMethodName(method);
}
