#include "graph/core/samples.h"

#include <algorithm>
#include <future>
#include <system_error>
#include <thread>

#include "data/fitcache.h"
#include "data/fpfault.h"
#include "fit/fastpath.h"

namespace quilvex {

namespace {

SamplePolicy DefaultPolicy()
{
    SamplePolicy policy;
    policy.threads = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    return policy;
}

SamplePolicy& Policy()
{
    static SamplePolicy policy = DefaultPolicy();
    return policy;
}

}  // namespace

SamplePolicy CurrentSamplePolicy() { return Policy(); }

void SetSamplePolicy(const SamplePolicy& policy) { Policy() = policy; }

SamplesAhead::SamplesAhead(std::vector<Real> arguments, const IndexedCurve& curve, double costPerSample,
                           bool alwaysAhead)
    : arguments_(std::move(arguments))
{
    const SamplePolicy policy = Policy();
    const std::size_t count = arguments_.size();
    const bool share = policy.threads > 1 && static_cast<double>(count) * costPerSample >= policy.minimumWork;
    if (!share && !alwaysAhead) {
        arguments_.clear();
        return;
    }
    values_.resize(count);
    messages_.resize(count);
    done_.assign(count, kNotDone);
    following_ = true;
    const std::size_t threads = share ? std::min(static_cast<std::size_t>(policy.threads), count) : 1;
    std::atomic<std::size_t> firstFault{count};
    // The fault flags of this thread belong to the replot: computing ahead leaves them alone.
    const FpuFlagsKeeper keeper;
    std::vector<std::future<void>> helpers;
    for (std::size_t w = 1; w < threads; ++w) {
        const std::size_t from = count * w / threads, to = count * (w + 1) / threads;
        try {
            helpers.push_back(std::async(std::launch::async, [&, from, to] { ComputeRange(from, to, curve, firstFault); }));
        } catch (const std::system_error&) {
            ComputeRange(from, to, curve, firstFault);  // no thread to be had: this one does it
        }
    }
    ComputeRange(0, count / threads, curve, firstFault);
    for (std::future<void>& helper : helpers)
        helper.get();
}

// Samples beyond a known fault are never asked for: the trace ends there.
void SamplesAhead::ComputeRange(std::size_t from, std::size_t to, const IndexedCurve& curve,
                                std::atomic<std::size_t>& firstFault)
{
    ClearFpu();
    for (std::size_t k = from; k < to && k < firstFault.load(std::memory_order_relaxed); ++k) {
        MessageText own;
        try {
            values_[k] = curve(k, arguments_[k], own);
            done_[k] = FaultFlagged() ? kFaulted : kClean;
        } catch (...) {
            done_[k] = kFaulted;
        }
        // A clean sample leaves no fault flagged for the next one.
        if (done_[k] == kFaulted) {
            std::size_t known = firstFault.load();
            while (k < known && !firstFault.compare_exchange_weak(known, k)) {
            }
            return;
        }
        messages_[k] = own.Text();
    }
}

Real SamplesAhead::Value(Real t, MessageText& messages, const std::function<Real(Real, MessageText&)>& curve)
{
    const std::size_t k = next_++;
    if (following_ && k < arguments_.size() && done_[k] == kClean && SameBits(arguments_[k], t) && !FaultFlagged()) {
        if (!messages_[k].empty())
            messages.Append(messages_[k]);
        return values_[k];
    }
    // From here on the trace asks for something else than was computed ahead.
    if (!(k < arguments_.size() && SameBits(arguments_[k], t)))
        following_ = false;
    return curve(t, messages);
}

}  // namespace quilvex
