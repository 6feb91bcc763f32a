#include "graph/core/keptfits.h"

#include <algorithm>
#include <functional>

#include "fit/fastpath.h"
#include "fit/regression.h"
#include "fit/spline.h"

namespace quilvex {

namespace {

// The values the fit writes to out[0..count) and the messages it adds, or
// those kept when the key is the one they came from.
void FitReusing(QuilvexState& s, Recorded& kept, ReuseKey key, Real* out, int count,
                const std::function<void(MessageText&)>& fit)
{
    if (kept.valid && kept.key == key && !FaultFlagged()) {
        if (!kept.messages.empty())
            s.MessageBuffer.Append(kept.messages.front().second);
        std::copy(kept.values.begin(), kept.values.end(), out);
        return;
    }
    kept.valid = false;
    MessageText own;
    try {
        fit(own);
    } catch (...) {
        if (!own.Empty())
            s.MessageBuffer.Append(own.Text());
        throw;
    }
    if (!own.Empty())
        s.MessageBuffer.Append(own.Text());
    kept.key = std::move(key);
    kept.values.assign(out, out + count);
    kept.messages.clear();
    if (!own.Empty())
        kept.messages.emplace_back(0, own.Text());
    kept.valid = true;
}

}  // namespace

bool TableFits(const QuilvexState& s) { return 1 <= s.n && s.n <= MaxPoints; }

ReuseKey TableKey(const QuilvexState& s)
{
    ReuseKey key;
    key.AddArray(s.n, s.x);
    key.AddArray(s.n, s.y);
    return key;
}

void FitRegressionReusing(QuilvexState& s)
{
    const int m = s.RegrOrd;
    if (!TableFits(s) || m < 0 || m + 1 > MaxPoints) {
        FitRegression(s.n, m, s.x, s.y, s.RegrCoef, s.MessageBuffer);
        return;
    }
    ReuseKey key = TableKey(s);
    key.Add(m);
    FitReusing(s, s.Reuse.regression, std::move(key), s.RegrCoef.data(), m + 1,
               [&](MessageText& own) { FitRegression(s.n, m, s.x, s.y, s.RegrCoef, own); });
}

void SetUpSplineReusing(QuilvexState& s)
{
    if (!TableFits(s)) {
        SetUpSpline(s.n, s.x, s.y, s.SplineD2, s.MessageBuffer);
        return;
    }
    FitReusing(s, s.Reuse.spline, TableKey(s), s.SplineD2.data(), s.n,
               [&](MessageText& own) { SetUpSpline(s.n, s.x, s.y, s.SplineD2, own); });
}

}  // namespace quilvex
