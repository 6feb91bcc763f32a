#include "details/detailsjob.h"

#ifdef __linux__
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

#include "stats/statistics.h"
#include "stats/table.h"

namespace quilvex {

DetailsInput DetailsInputOf(const QuilvexState& s, Weighting weighting, const MethodConstraints& constraints)
{
    DetailsInput input;
    input.weighting = weighting;
    input.constraints = constraints;
    input.regressionOrder = s.RegrOrd;
    input.lagrangeOrder = s.LagrOrd;
    input.regressionKept = s.Reuse.regression;
    input.splineKept = s.Reuse.spline;
    if (s.n < 3 || s.n > MaxPoints)
        return input;
    input.table = StatsTableOf(s);
    input.excluded = s.Excluded;
    input.tableWarnings = AdjustmentWarnings(s);
    for (const Method method : kReportOrder)
        if (Shown(s, method))
            for (const StatsMethod m : StatsMethodsOf(method))
                input.methods.push_back(m);
    return input;
}

DetailsResult ComputeDetails(const DetailsInput& input)
{
    DetailsResult result{input, {}};
    if (input.methods.empty())
        return result;
    FitCache kept;
    kept.regression = input.regressionKept;
    kept.spline = input.splineKept;
    StatsRequest request;
    request.methods = input.methods;
    request.regressionOrder = input.regressionOrder;
    request.lagrangeOrder = input.lagrangeOrder;
    request.weighting = input.weighting;
    request.constraints = input.constraints;
    result.rows = ComputeStatistics(input.table, request, input.tableWarnings, &kept);
    return result;
}

DetailsWorker::DetailsWorker(std::function<void()> ready) : ready_(std::move(ready)), thread_([this] { Run(); }) {}

DetailsWorker::~DetailsWorker()
{
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void DetailsWorker::Submit(DetailsInput input)
{
    {
        const std::lock_guard lock(mutex_);
        waiting_ = std::move(input);
    }
    changed_.notify_all();
}

std::optional<DetailsResult> DetailsWorker::TakeResult()
{
    const std::lock_guard lock(mutex_);
    std::optional<DetailsResult> result = std::move(done_);
    done_.reset();
    return result;
}

void DetailsWorker::WaitIdle()
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !busy_ && !waiting_; });
}

namespace {

// The replot's own threads come first: a drag must not wait for the window's figures.
void YieldToTheReplot()
{
#ifdef __linux__
    constexpr int kNice = 10;
    setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), kNice);
#endif
}

}  // namespace

void DetailsWorker::Run()
{
    YieldToTheReplot();
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stop_ || waiting_; });
        if (stop_)
            return;
        const DetailsInput input = std::move(*waiting_);
        waiting_.reset();
        busy_ = true;
        lock.unlock();
        DetailsResult result{input, {}};
        try {
            result = ComputeDetails(input);
        } catch (const std::exception&) {
            // Every fault of a method ends in its own row; anything else leaves the table empty.
        }
        lock.lock();
        done_ = std::move(result);
        busy_ = false;
        changed_.notify_all();
        lock.unlock();
        ready_();
        lock.lock();
    }
}

}  // namespace quilvex
