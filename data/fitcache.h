#pragma once
// What a replot can take over from the one before: the regression fit and the
// samples of the costly curves, each kept with the inputs it was computed
// from and reused only when all of them are bit for bit the same. Only a
// computation that ended normally is kept, with the messages it added.
#include <string>
#include <utility>
#include <vector>

#include "data/checked.h"

namespace quilvex {

// The 80 bits of the two values are the same (0 and -0 differ).
bool SameBits(Real a, Real b);

// The inputs of a computation, compared by their bits (so 0 and -0 differ).
class ReuseKey {
public:
    void Add(Real value);
    void Add(int value);
    // v[1..n]; n must be within 0..300.
    void AddArray(int n, const RealArray& v);
    bool operator==(const ReuseKey& other) const { return bytes_ == other.bytes_; }

private:
    std::vector<unsigned char> bytes_;
};

// Values with the messages that came with them: (index of the value the
// message came before, text).
struct Recorded {
    ReuseKey key;
    std::vector<Real> arguments, values;
    std::vector<std::pair<std::size_t, std::string>> messages;
    bool valid = false;
};

// While a point is dragged: per sample of the all-points Lagrange curve, the
// basis products up to the dragged point's factor and the whole ones (n each
// per sample), kept with the inputs they came from (the table but the dragged
// point, its number, the arguments; for the whole ones its X, dragX) and how
// far each sample's are usable: 0 not, 1 the partial ones, 2 both.
struct KeptProducts {
    ReuseKey key;
    std::vector<Real> arguments, before, after;
    std::vector<char> usable;
    Real dragX = 0;
    bool valid = false;
};

struct FitCache {
    Recorded regression;  // RegrCoef[1..m+1] as values, no arguments
    Recorded spline;      // SplineD2[1..n] as values, no arguments
    Recorded regressionCurve, lagrangeCurve, lagrangeOrdCurve;
    KeptProducts lagrangeDrag;
};

}  // namespace quilvex
