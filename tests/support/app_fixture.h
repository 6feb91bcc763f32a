#pragma once
// A fresh program for each test: state, the three windows built offscreen, and
// scripted dialogs.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "app/QuilvexApp.h"
#include "support/controls.h"
#include "support/scripted_dialogs.h"

namespace quilvex::testing {

class AppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        app = std::make_unique<QuilvexApp>(dialogs);
        app->Start();
        QCoreApplication::processEvents();
    }
    void TearDown() override
    {
        app.reset();
        ForgetAnExitAsked();
    }
    // Closing the main window asks the application's loop to end; with no loop
    // running, Qt keeps the request, and every later loop (a modal dialog's in
    // a later test) would return at once. Running the loop once spends it.
    static void ForgetAnExitAsked()
    {
        QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
        QCoreApplication::exec();
    }

    QuilvexState& S() { return app->State(); }
    QuilvexDocument& Doc() { return app->Document(); }
    TQuilvexForm& Main() { return app->Main(); }
    TPlotForm& Plot() { return app->Plot(); }
    TStatusForm& Status() { return app->Status(); }
    GridModel& Grid() { return app->Document().Grid(); }

    // Puts the rows into the grid in place of what it held.
    void SetGrid(const std::vector<std::pair<std::string, std::string>>& rows)
    {
        Grid().SetRowCount(static_cast<int>(rows.size()));
        for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
            Grid().SetCell(0, r, rows[static_cast<std::size_t>(r)].first);
            Grid().SetCell(1, r, rows[static_cast<std::size_t>(r)].second);
        }
    }
    std::string Cell(int col, int row) { return Grid().Cell(col, row); }
    std::string Msg() { return Find<QLabel>(Plot(), "MsgLabel")->text().toStdString(); }

    ScriptedDialogs dialogs;
    std::unique_ptr<QuilvexApp> app;
};

}  // namespace quilvex::testing
