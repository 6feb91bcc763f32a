#include "fit/fastpath.h"

#include <cfenv>
#include <cmath>

namespace quilvex {

bool FaultFlagged() { return std::fetestexcept(FE_OVERFLOW | FE_DIVBYZERO | FE_INVALID) != 0; }

bool AllFinite(int n, const RealArray& v)
{
    const Real* values = v.data();
    const int count = n < RealArray::size() ? n : RealArray::size();
    for (int i = 0; i < count; ++i)
        if (!std::isfinite(values[i]))
            return false;
    return true;
}

}  // namespace quilvex
