#include "graph/core/lagrangedrag.h"

#include <algorithm>

#include "fit/lagrange.h"

namespace quilvex {

namespace {

// 10 000 plot points at 300 points: about 50 MB.
constexpr std::size_t kMostProducts = 3'100'000;

// The table but the dragged point, and its number.
ReuseKey DragKey(const QuilvexState& s)
{
    ReuseKey key;
    key.Add(static_cast<int>(s.n));
    key.Add(static_cast<int>(s.SelectedPoint));
    for (int i = 1; i <= s.n; ++i)
        if (i != s.SelectedPoint) {
            key.Add(s.x[i]);
            key.Add(s.y[i]);
        }
    return key;
}

bool SameArguments(const std::vector<Real>& a, const std::vector<Real>& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), SameBits);
}

}  // namespace

IndexedCurve LagrangeDragCurve(QuilvexState& s, const std::vector<Real>& arguments)
{
    KeptProducts& kept = s.Reuse.lagrangeDrag;
    const bool dragging = s.MouseIsDown && s.PointPicked && 1 <= s.n && s.n <= MaxPoints && 1 <= s.SelectedPoint &&
                          s.SelectedPoint <= s.n;
    const std::size_t n = static_cast<std::size_t>(s.n);
    if (!dragging || arguments.size() * n > kMostProducts) {
        kept = KeptProducts{};
        return {};
    }
    ReuseKey key = DragKey(s);
    if (!(kept.valid && kept.key == key && SameArguments(kept.arguments, arguments))) {
        kept.key = std::move(key);
        kept.arguments = arguments;
        kept.products.assign(arguments.size() * n, 0);
        kept.usable.assign(arguments.size(), 0);
        kept.valid = true;
    }
    // Called for distinct k from several threads: each writes only its own sample's entries.
    return [&s, &kept, n](std::size_t k, Real t, MessageText&) {
        Real* before = kept.products.data() + k * n;
        const int p = s.SelectedPoint;
        if (kept.usable[k])
            return EvalLagrangeFrom(s.n, s.x, s.y, t, p, before);
        bool usable = false;
        const Real value = EvalLagrangeKeeping(s.n, s.x, s.y, t, p, before, usable);
        kept.usable[k] = usable;
        return value;
    };
}

}  // namespace quilvex
