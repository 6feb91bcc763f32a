#pragma once
// What the "Fit details" window shows for one replot, computed away from the
// windows: the statistics of `quilvex fit` for the enabled methods of the
// table the replot drew, each with its residuals at the points.
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "data/state.h"
#include "stats/constraints.h"
#include "stats/figures.h"
#include "stats/weights.h"

namespace quilvex {

struct DetailsInput {
    // The fitted points, ascending as the replot left it, with their sigma
    // texts, rows and the rows the user left out.
    StatsTable table;
    std::vector<SetAsidePoint> excluded;  // the points left out, drawn in the residual plot
    Weighting weighting = Weighting::None;
    MethodConstraints constraints;  // each constrained row follows its free row
    int regressionOrder = 3, lagrangeOrder = 3;
    std::vector<StatsMethod> methods;  // the enabled ones, each fit of ln y followed by its true least-squares fit
    std::vector<std::string> tableWarnings;  // the X values the replots adjusted that the table holds
    // The replot's regression fit and spline, taken over rather than computed again.
    Recorded regressionKept, splineKept;
};

struct DetailsResult {
    DetailsInput input;
    std::vector<MethodFigures> rows;  // one per method, in the order asked
};

// The input of the last replot's table and settings; no methods when the
// table has fewer than 3 or more than MaxPoints points.
DetailsInput DetailsInputOf(const QuilvexState& s, Weighting weighting = Weighting::None,
                            const MethodConstraints& constraints = {});
DetailsResult ComputeDetails(const DetailsInput& input);

// One thread that computes the newest input handed to it: an input handed
// over while another is computed replaces any that waits, so the window is
// never more than one table behind once the thread keeps up, and the replot
// never waits for it.
class DetailsWorker {
public:
    // ready runs on the worker thread after each result.
    explicit DetailsWorker(std::function<void()> ready);
    ~DetailsWorker();
    DetailsWorker(const DetailsWorker&) = delete;
    DetailsWorker& operator=(const DetailsWorker&) = delete;

    void Submit(DetailsInput input);
    // The newest result not taken yet.
    std::optional<DetailsResult> TakeResult();
    // Blocks until every input handed over has been computed.
    void WaitIdle();

private:
    void Run();

    std::function<void()> ready_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<DetailsInput> waiting_;
    std::optional<DetailsResult> done_;
    bool busy_ = false, stop_ = false;
    std::thread thread_;
};

}  // namespace quilvex
