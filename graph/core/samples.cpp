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

// Beyond this many, starting the threads costs more than a curve's share saves.
constexpr int kMostThreads = 16;
// Samples in a block: 32 all-points Lagrange values at 300 points take about 5 ms.
constexpr std::size_t kLargestBlock = 32;

SamplePolicy DefaultPolicy()
{
    SamplePolicy policy;
    policy.threads = std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, kMostThreads);
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
    // Small blocks taken in turn: a helper that waits for a core leaves its
    // share to the others, and the last block, which the others may wait for,
    // is short.
    Shares shares{count, std::clamp<std::size_t>(count / (threads * 8), 1, kLargestBlock)};
    // The fault flags of this thread belong to the replot: computing ahead leaves them alone.
    const FpuFlagsKeeper keeper;
    std::vector<std::future<void>> helpers;
    for (std::size_t w = 1; w < threads; ++w) {
        try {
            helpers.push_back(std::async(std::launch::async, [&] { ComputeShares(shares, curve); }));
        } catch (const std::system_error&) {
            break;  // no more threads to be had: the others do it
        }
    }
    ComputeShares(shares, curve);
    for (std::future<void>& helper : helpers)
        helper.get();
}

// Samples beyond a known fault are never asked for: the trace ends there.
void SamplesAhead::ComputeShares(Shares& shares, const IndexedCurve& curve)
{
    ClearFpu();
    for (;;) {
        const std::size_t from = shares.next.fetch_add(shares.block);
        if (from >= shares.count || from >= shares.firstFault.load())
            return;
        const std::size_t to = std::min(from + shares.block, shares.count);
        for (std::size_t k = from; k < to && k < shares.firstFault.load(std::memory_order_relaxed); ++k)
            if (!ComputeSample(k, curve)) {
                std::size_t known = shares.firstFault.load();
                while (k < known && !shares.firstFault.compare_exchange_weak(known, k)) {
                }
                ClearFpu();
                break;
            }
    }
}

// False when the sample met a fault.
bool SamplesAhead::ComputeSample(std::size_t k, const IndexedCurve& curve)
{
    MessageText own;
    try {
        values_[k] = curve(k, arguments_[k], own);
        done_[k] = FaultFlagged() ? kFaulted : kClean;
    } catch (...) {
        done_[k] = kFaulted;
    }
    if (done_[k] == kFaulted)
        return false;
    messages_[k] = own.Text();
    return true;
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
