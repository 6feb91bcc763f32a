#include "data/fitcache.h"

#include <cstring>

namespace quilvex {

namespace {
constexpr std::size_t kRealBytes = 10;  // the value; the rest of its storage is padding
}

bool SameBits(Real a, Real b) { return std::memcmp(&a, &b, kRealBytes) == 0; }

void ReuseKey::Add(Real value)
{
    unsigned char bytes[sizeof(Real)];
    std::memcpy(bytes, &value, sizeof(Real));
    bytes_.insert(bytes_.end(), bytes, bytes + kRealBytes);
}

void ReuseKey::Add(int value)
{
    unsigned char bytes[sizeof(int)];
    std::memcpy(bytes, &value, sizeof(int));
    bytes_.insert(bytes_.end(), bytes, bytes + sizeof(int));
}

void ReuseKey::AddArray(int n, const RealArray& v)
{
    Add(n);
    for (int i = 0; i < n; ++i)
        Add(v.data()[i]);
}

}  // namespace quilvex
