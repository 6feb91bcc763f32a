// A long, seeded random run of user actions through the real windows. After
// every action nothing may have crashed and the program's invariants hold.
#include <QTemporaryDir>
#include <fstream>
#include <random>

#include "data/datafile.h"
#include "data/numtext.h"
#include "data/pointimport.h"
#include "graph/core/plotter.h"
#include "support/app_fixture.h"
#include "support/controls.h"

using namespace quilvex;
using namespace quilvex::testing;

namespace quilvex {
void PrintTo(const DataRow& row, std::ostream* out) { *out << '"' << row.x << "\" \"" << row.y << '"'; }
}  // namespace quilvex

namespace {

const char* const kCellTexts[] = {"1",    "2.5",  "-3",     "0",     "1e3",  "7.25", "100", "-0.5", "3e-4",
                                  "abc",  "",     "1e5000", "1e-5000", " 5", "5 ",   "-",   "1,5",  "12 ??",
                                  "1e400", "$FF", "4.",     "e5",    "9.99999999999", "-1e30"};
const char* const kParameterTexts[] = {"3", "5", "2", "1", "0", "-4", "12", "80", "100", "150", "abc", "", " 7",
                                       "7 ", "2.5", "$10", "9999", "600", "30", "$FFFFFFFF"};

class SoakTest : public AppTest {
protected:
    std::mt19937 rng{20261207};

    int Pick(int below) { return std::uniform_int_distribution<int>(0, below - 1)(rng); }
    template <typename T, std::size_t N>
    const T& PickFrom(const T (&items)[N])
    {
        return items[Pick(static_cast<int>(N))];
    }

    std::string RandomNumber()
    {
        std::uniform_real_distribution<double> value(-50, 50);
        return FormatCell(static_cast<Real>(value(rng)));
    }

    void EditCell()
    {
        const int row = Pick(Grid().RowCount());
        const std::string text = Pick(3) == 0 ? PickFrom(kCellTexts) : RandomNumber();
        Grid().setData(Grid().index(row, Pick(2)), QString::fromLatin1(text), Qt::EditRole);
    }

    void SetParameter()
    {
        const char* const edits[] = {"PlotPointsEdit", "CoverEdit", "LagrOrdEdit", "RegrOrdEdit"};
        QLineEdit* edit = Find<QLineEdit>(Main(), edits[Pick(4)]);
        std::string text = PickFrom(kParameterTexts);
        // Keeps each replot quick: the exact regression of order 299 takes seconds.
        if (edit == Find<QLineEdit>(Main(), "RegrOrdEdit") && TextToInt(text, 3) > 30)
            text = "30";
        edit->setText(QString::fromLatin1(text));
    }

    void ToggleBox()
    {
        const char* const boxes[] = {"SplineCheckBox", "LagrCheckBox", "LagrOCheckBox", "RegrCheckBox",
                                     "ExpCheckBox",    "LogCheckBox",  "PowerCheckBox", "GraphEnableCheckBox"};
        QCheckBox* box = Find<QCheckBox>(Main(), boxes[Pick(8)]);
        box->setChecked(!box->isChecked());
    }

    void Spin()
    {
        const char* const spinners[] = {"PlotPointsUpDown", "CoverUpDown", "LagrOrdUpDown", "RegrOrdUpDown"};
        UpDown* spinner = Find<UpDown>(Main(), spinners[Pick(4)]);
        Pick(2) == 0 ? spinner->StepUp() : spinner->StepDown();
    }

    void Mouse()
    {
        const int w = quilvex::testing::Find<PaintBox>(Plot(), "PlotPaintBox")->width(), h = quilvex::testing::Find<PaintBox>(Plot(), "PlotPaintBox")->height();
        auto x = [&] { return Pick(w + 200) - 100; };
        auto y = [&] { return Pick(h + 200) - 100; };
        Plot().PlotPaintBoxMouseDown(x(), y());
        for (int moves = Pick(6); moves > 0; --moves)
            Plot().PlotPaintBoxMouseMove(x(), y());
        Plot().PlotPaintBoxMouseUp(x(), y());
    }

    void DragAPoint()
    {
        if (S().n < 1)
            return;
        Plotter plot(S(), quilvex::testing::Find<PaintBox>(Plot(), "PlotPaintBox")->Canvas());
        const int i = 1 + Pick(S().n);
        const Real px = plot.XToPixel(S().x[i]), py = plot.YToPixel(S().y[i]);
        if (!(std::fabs(px) < 1e6L && std::fabs(py) < 1e6L))
            return;
        Plot().PlotPaintBoxMouseDown(Round(px), Round(py));
        Plot().PlotPaintBoxMouseMove(Round(px) + Pick(41) - 20, Round(py) + Pick(41) - 20);
        Plot().PlotPaintBoxMouseUp(0, 0);
    }

    void Reports()
    {
        const char* xs[] = {"2", "0", "-1", "abc", "", "1e5000", "3.5", "1e30", "5 "};
        switch (Pick(3)) {
        case 0: Main().Status1Click(); break;
        case 1:
            Find<QLineEdit>(Status(), "XvalueEdit")->setText(PickFrom(xs));
            Status().ExtrapButtonClick();
            break;
        default: Status().ClearButtonClick(); break;
        }
    }

    std::string RandomFile()
    {
        std::string bytes;
        const int lines = Pick(10) == 0 ? 305 : Pick(30);
        for (int i = 0; i < lines; ++i) {
            switch (Pick(8)) {
            case 0: bytes += "; comment"; break;
            case 1: bytes += PickFrom(kCellTexts); break;
            case 2: bytes += std::string(1, static_cast<char>(Pick(256))) + "\x01\xff"; break;
            default: bytes += RandomNumber() + (Pick(2) ? " " : ",") + RandomNumber(); break;
            }
            const char* ends[] = {"\r\n", "\n", "\r"};
            bytes += PickFrom(ends);
        }
        return bytes;
    }

    void OpenFile()
    {
        const std::string path = (dir.path() + "/in.dta").toStdString();
        std::ofstream(path, std::ios::binary) << RandomFile();
        if (Doc().Unsaved())
            dialogs.answers.push_back(BoxAnswer::Discard);  // the question before opening
        for (int i = 0; i < 5; ++i)
            dialogs.answers.push_back(Pick(4) == 0 ? BoxAnswer::Cancel : BoxAnswer::Ok);
        dialogs.openNames.push_back(Pick(10) == 0 ? path + ".missing" : path);
        Main().MenuOpenClick();
        dialogs.answers.clear();
    }

    // A grid of numbers comes back from its file with each value at 8 digits.
    std::vector<DataRow> ExpectedAfterReload()
    {
        std::vector<DataRow> rows;
        for (int r = 0; r < Grid().RowCount(); ++r)
            rows.push_back(DataRow{FormatCell(TextToFloat(Cell(0, r)).value), FormatCell(TextToFloat(Cell(1, r)).value)});
        return rows;
    }
    bool AllCellsAreNumbers()
    {
        for (int r = 0; r < Grid().RowCount(); ++r)
            for (int c = 0; c < 2; ++c)
                try {
                    if (!TextToFloat(Cell(c, r)).ok())
                        return false;
                } catch (const QuilvexError&) {
                    return false;
                }
        return true;
    }

    void SaveAndReopen()
    {
        const std::string path = (dir.path() + "/out.dta").toStdString();
        if (!AllCellsAreNumbers())
            return;  // empty and unreadable cells do not keep their place in a file
        const std::vector<DataRow> expected = ExpectedAfterReload();
        dialogs.saveNames.push_back(path);
        Main().Saveas1Click();
        const bool graphing = Find<QCheckBox>(Main(), "GraphEnableCheckBox")->isChecked();
        Doc().SetGraphingEnabled(false);
        dialogs.openNames.push_back(path);
        Main().MenuOpenClick();
        std::vector<DataRow> reloaded;
        for (int r = 0; r < Grid().RowCount(); ++r)
            reloaded.push_back(DataRow{Cell(0, r), Cell(1, r)});
        ASSERT_EQ(reloaded, expected) << "after save and open";
        Doc().SetGraphingEnabled(graphing);
    }

    void Expose()
    {
        Plot().RequestReplot();
        QCoreApplication::processEvents();
    }

    QTemporaryDir dir;
};

TEST_F(SoakTest, ThousandsOfRandomActionsKeepTheInvariants)
{
    const int actions = qEnvironmentVariableIntValue("QUILVEX_SOAK_ACTIONS") > 0
                            ? qEnvironmentVariableIntValue("QUILVEX_SOAK_ACTIONS")
                            : 4000;
    SetGrid({{"1", "2"}, {"2", "3"}, {"3", "5"}, {"4", "4"}});
    for (int step = 0; step < actions; ++step) {
        const int before = RowsHoldingText(Grid());
        const int kind = Pick(14);
        bool mayDropRows = false;
        switch (kind) {
        case 0: case 1: case 2: EditCell(); break;
        case 3: Main().AddRowButtonClick(); break;
        case 4: Main().DeleteRowButtonClick(); mayDropRows = true; break;
        case 5: SetParameter(); break;
        case 6: ToggleBox(); break;
        case 7: Spin(); break;
        case 8: Mouse(); break;
        case 9: DragAPoint(); break;
        case 10: Reports(); break;
        case 11: OpenFile(); mayDropRows = true; break;
        case 12: SaveAndReopen(); mayDropRows = true; break;
        default: Expose(); break;
        }
        if (HasFatalFailure())
            FAIL() << "at action " << step;
        const bool cut = !dialogs.boxes.empty() && dialogs.boxes.back().text == "Too many X,Y values! (max 300)";
        ASSERT_GE(S().n, 0) << "action " << step;
        ASSERT_LE(S().n, 300) << "action " << step;
        if (S().n > 0) {
            ASSERT_GE(S().SelectedPoint, 1) << "action " << step;
            ASSERT_LE(S().SelectedPoint, S().n) << "action " << step;
        }
        ASSERT_EQ(S().DrawDepth, 0) << "action " << step;
        if (!mayDropRows && !cut) {
            ASSERT_GE(RowsHoldingText(Grid()), before) << "a row with text was lost at action " << step << " kind " << kind;
        }
        dialogs.boxes.clear();
        dialogs.errors.clear();
        if (S().n == 300 && Pick(3) == 0)
            SetGrid({{"1", "2"}, {"2", "3"}, {"3", "5"}});  // keeps most replots small
    }
}

}  // namespace
