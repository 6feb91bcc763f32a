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
        kept.before.assign(arguments.size() * n, 0);
        kept.after.assign(arguments.size() * n, 0);
        kept.usable.assign(arguments.size(), 0);
        kept.valid = true;
    }
    const Real dragX = s.x[s.SelectedPoint];
    if (!SameBits(dragX, kept.dragX)) {
        for (char& usable : kept.usable)
            usable = std::min<char>(usable, 1);
        kept.dragX = dragX;
    }
    // Called for distinct k from several threads: each writes only its own sample's entries.
    return [&s, &kept, n](std::size_t k, Real t, MessageText&) {
        const KeptBasis basis{kept.before.data() + k * n, kept.after.data() + k * n};
        const int p = s.SelectedPoint;
        bool usable = false;
        Real value;
        switch (kept.usable[k]) {
        case 2:
            return EvalLagrangeOfProducts(s.n, s.x, s.y, t, basis.after);
        case 1:
            value = EvalLagrangeFrom(s.n, s.x, s.y, t, p, basis, usable);
            break;
        default:
            value = EvalLagrangeKeeping(s.n, s.x, s.y, t, p, basis, usable);
            break;
        }
        if (usable)
            kept.usable[k] = 2;
        return value;
    };
}

}  // namespace quilvex
