#pragma once
// The values of a curve computed ahead of its trace, on several threads.
//
// The curves are pure functions of their argument: each sample's value and
// messages depend on nothing but the argument and the fit. So the samples a
// trace will ask for can be computed beforehand, in chunks on every core, each
// thread with its own fault flags; the trace then takes them in its own order,
// adding each sample's messages as it comes to it. A sample whose computation
// met a fault is computed again by the trace itself, which thus ends with the
// fault, the messages and the state of one thread. Only the main thread draws.
#include <atomic>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "data/fpfault.h"
#include "data/messagetext.h"

namespace quilvex {

// How the samples are spread over threads: `threads` at most (1: all on the
// calling thread), and only for a curve whose estimated work (samples times
// the cost of one, in divisions) reaches `minimumWork`.
struct SamplePolicy {
    int threads = 1;
    double minimumWork = 2e6;
};

// As many threads as the machine has cores (at most 16), unless set otherwise.
SamplePolicy CurrentSamplePolicy();
void SetSamplePolicy(const SamplePolicy& policy);

// A curve's value at argument number k (from 0), which is t; the messages it
// adds go to the buffer it is given.
using IndexedCurve = std::function<Real(std::size_t k, Real t, MessageText& messages)>;

class SamplesAhead {
public:
    // Nothing is computed ahead: every value is asked of the curve.
    SamplesAhead() = default;
    // Computes curve at every argument, spread as the policy says; with
    // alwaysAhead even when the work is too small to share out.
    SamplesAhead(std::vector<Real> arguments, const IndexedCurve& curve, double costPerSample, bool alwaysAhead);

    // The value at t for the trace, which asks in order: the one computed
    // ahead when t is the next argument and no fault is flagged (its messages
    // added to `messages`), else `curve` evaluated now.
    Real Value(Real t, MessageText& messages, const std::function<Real(Real, MessageText&)>& curve);

private:
    static constexpr char kNotDone = 0, kClean = 1, kFaulted = 2;
    // The samples not yet taken, handed out in blocks, and the first known to fault.
    struct Shares {
        std::size_t count, block;
        std::atomic<std::size_t> next{0}, firstFault{count};
    };
    void ComputeShares(Shares& shares, const IndexedCurve& curve);
    bool ComputeSample(std::size_t k, const IndexedCurve& curve);

    std::vector<Real> arguments_, values_;
    std::vector<std::string> messages_;
    std::vector<char> done_;
    std::size_t next_ = 0;
    bool following_ = false;
};

}  // namespace quilvex
