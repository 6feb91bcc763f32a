// The status window's result buttons: the fit quality block appended below the
// report, the results text on the clipboard and in a file.
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include "report/core/resultstext.h"
#include "support/app_fixture.h"
#include "support/controls.h"

using namespace quilvex;
using namespace quilvex::testing;

namespace {

class ResultsTest : public AppTest {
protected:
    void LineWithRegression()
    {
        SetGrid({{"1", "1"}, {"2", "3"}, {"3", "2"}});
        Find<QLineEdit>(Main(), "RegrOrdEdit")->setText("1");
        Doc().SetMethodChecked(Method::Regression, true);
    }
    std::vector<std::string> Lines()
    {
        std::vector<std::string> lines;
        for (int i = 0; i < Find<RichTextArea>(Status(), "StatusRichEdit")->LineCount(); ++i)
            lines.push_back(Find<RichTextArea>(Status(), "StatusRichEdit")->LineText(i).toStdString());
        return lines;
    }
    QTemporaryDir dir;
};

TEST_F(ResultsTest, FitQualityIsAppendedBelowWhatTheTextAreaHolds)
{
    LineWithRegression();
    Find<QLineEdit>(Status(), "XvalueEdit")->setText("2");
    Find<QPushButton>(Status(), "ExtrapButton")->click();
    const std::size_t before = Lines().size();
    const std::string msg = Msg();
    Find<QPushButton>(Status(), "FitQualityButton")->click();
    const std::vector<std::string> lines = Lines();
    ASSERT_EQ(lines.size(), before + 3);
    EXPECT_EQ(lines[before], "Fit quality at the 3 data points, residual = y - f(x):");
    EXPECT_EQ(lines[before + 2].substr(0, 38), "  Regression order 1 polynomial : 1.5 ");
    EXPECT_EQ(Msg(), msg);
}

TEST_F(ResultsTest, CopyAndSaveGiveTheSameFullPrecisionText)
{
    LineWithRegression();
    const std::string expected = ResultsText(S(), "");
    EXPECT_NE(expected.find("  c1 = 0.5\n"), std::string::npos) << expected;
    Find<QPushButton>(Status(), "CopyResultsButton")->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), expected);

    const std::string name = (dir.path() + "/results").toStdString();
    dialogs.resultsNames.push_back(name);
    Find<QPushButton>(Status(), "SaveResultsButton")->click();
    QFile file(QString::fromStdString(name + ".txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().toStdString(), expected);
}

TEST_F(ResultsTest, TheButtonsDescribeTheTableAsItStands)
{
    SetGrid({{"1", "1"}, {"2", "3"}, {"3", "2"}, {"4", "5"}});
    Doc().SetMethodChecked(Method::Regression, true);
    Main().DeleteRowButtonClick();  // no replot of its own
    Find<QPushButton>(Status(), "CopyResultsButton")->click();
    const std::string copied = QGuiApplication::clipboard()->text().toStdString();
    EXPECT_NE(copied.find("\nPoints: 3\n"), std::string::npos) << copied;
    EXPECT_EQ(copied.find("Graphing is off"), std::string::npos);

    Doc().SetGraphingEnabled(false);
    Main().DeleteRowButtonClick();
    Find<QPushButton>(Status(), "FitQualityButton")->click();
    const std::vector<std::string> lines = Lines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 4].substr(0, 18), "Graphing is off: t");
    EXPECT_EQ(lines[lines.size() - 3], "Fit quality at the 3 data points, residual = y - f(x):");
    Find<QPushButton>(Status(), "CopyResultsButton")->click();
    const std::string stale = QGuiApplication::clipboard()->text().toStdString();
    EXPECT_EQ(stale.substr(0, 33), "Quilvex results\nGraphing is off: ");
    EXPECT_NE(stale.find("\nPoints: 3\n"), std::string::npos);
}

}  // namespace
