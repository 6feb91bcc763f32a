#include "fit/fastsolve.h"

#include <algorithm>
#include <cmath>

#include "fit/fastpath.h"

namespace quilvex {

namespace {

constexpr Real kSingularPivot = 1e-20L;
constexpr const char* kSingularText = " * Can't solve : matrix singular!";

// The pivot test of the literal solver: it runs before the first division of
// the row, so the message comes before anything of the row is computed.
Real UsablePivot(Real& pivot, MessageText& messages)
{
    if (std::fabs(pivot) < kSingularPivot) {
        messages.Append(kSingularText);
        pivot = 1;
    }
    return pivot;
}

}  // namespace

namespace {

// The elimination as written, one pivot step after another, checked once per
// step; onSingular is told of every singular pivot when it is met.
template <typename OnSingular>
void EliminateStepwise(int N, std::vector<Real>& a, OnSingular onSingular)
{
    const std::size_t width = static_cast<std::size_t>(N) + 1;
    for (int i = 0; i < N; ++i) {
        CheckFpu();
        Real* pivotRow = a.data() + static_cast<std::size_t>(i) * width;
        if (std::fabs(pivotRow[i]) < kSingularPivot) {
            onSingular();
            pivotRow[i] = 1;
        }
        const Real pivot = pivotRow[i];
        for (int j = i + 1; j <= N; ++j)
            pivotRow[j] = pivotRow[j] / pivot;
        CheckFpu();
        for (int k = 0; k < N; ++k) {
            if (k == i)
                continue;
            Real* row = a.data() + static_cast<std::size_t>(k) * width;
            const Real factor = row[i];
            for (int j = i + 1; j <= N; ++j)
                row[j] = row[j] - factor * pivotRow[j];
        }
    }
    CheckFpu();
}

// Divides row i from column first on by its pivot, after the pivot test.
bool NormalizeRow(int N, int i, int first, Real* row)
{
    const bool singular = std::fabs(row[i]) < kSingularPivot;
    if (singular)
        row[i] = 1;
    const Real pivot = row[i];
    for (int j = first; j <= N; ++j)
        row[j] = row[j] / pivot;
    return singular;
}

void SubtractMultiple(int N, int first, Real factor, const Real* pivotRow, Real* row)
{
    for (int j = first; j <= N; ++j)
        row[j] = row[j] - factor * pivotRow[j];
}

// Pivot steps i and i + 1 in one pass over the other rows: each element still
// takes the subtraction of step i, rounded, then that of step i + 1. Pivot row
// i is changed by step i + 1 only after every other row has used it.
void EliminatePair(int N, int i, std::vector<Real>& a, bool singular[2])
{
    const std::size_t width = static_cast<std::size_t>(N) + 1;
    Real* first = a.data() + static_cast<std::size_t>(i) * width;
    Real* second = first + width;
    singular[0] = NormalizeRow(N, i, i + 1, first);
    SubtractMultiple(N, i + 1, second[i], first, second);
    singular[1] = NormalizeRow(N, i + 1, i + 2, second);
    for (int k = 0; k < N; ++k) {
        if (k == i || k == i + 1)
            continue;
        Real* row = a.data() + static_cast<std::size_t>(k) * width;
        const Real f0 = row[i];
        const Real f1 = row[i + 1] - f0 * first[i + 1];
        for (int j = i + 2; j <= N; ++j)
            row[j] = (row[j] - f0 * first[j]) - f1 * second[j];
    }
    SubtractMultiple(N, i + 2, first[i + 1], second, first);
}

}  // namespace

// Two pivot steps at a time, with their messages held back until the steps
// are known to be free of faults. After a fault the elimination runs again
// step by step from the start, so that it ends at the first fault with the
// messages the literal solver has added by then.
void SolveDense(int N, std::vector<Real>& a, MessageText& messages)
{
    CheckFpu();
    const std::vector<Real> original = a;
    const std::size_t width = static_cast<std::size_t>(N) + 1;
    int added = 0;
    auto addSingular = [&] {
        messages.Append(kSingularText);
        ++added;
    };
    bool faulted = false;
    int i = 0;
    for (; i + 1 < N && !faulted; i += 2) {
        bool singular[2];
        EliminatePair(N, i, a, singular);
        faulted = FaultFlagged();
        for (int s = 0; s < 2 && !faulted; ++s)
            if (singular[s])
                addSingular();
    }
    if (i == N - 1 && !faulted) {
        Real* pivotRow = a.data() + static_cast<std::size_t>(i) * width;
        const bool singular = NormalizeRow(N, i, i + 1, pivotRow);
        for (int k = 0; k < N; ++k)
            if (k != i)
                SubtractMultiple(N, i + 1, a[static_cast<std::size_t>(k) * width + static_cast<std::size_t>(i)],
                                 pivotRow, a.data() + static_cast<std::size_t>(k) * width);
        faulted = FaultFlagged();
        if (singular && !faulted)
            addSingular();
    }
    if (!faulted)
        return;
    ClearFpu();
    a = original;
    int met = 0;
    EliminateStepwise(N, a, [&] {
        if (++met > added)
            messages.Append(kSingularText);
    });
}

ProfileSystem::ProfileSystem(int N)
    : N_(N),
      a_(static_cast<std::size_t>(N) * static_cast<std::size_t>(N + 1)),
      lo_(static_cast<std::size_t>(N) + 1, 1),
      hi_(static_cast<std::size_t>(N) + 1, 0),
      negativeZero_(static_cast<std::size_t>(N) + 1, 0)
{
}

void ProfileSystem::Hold(int r, int lo, int hi)
{
    if (lo > hi)
        return;
    int& rowLo = lo_[static_cast<std::size_t>(r)];
    int& rowHi = hi_[static_cast<std::size_t>(r)];
    const Real zero = ImplicitZero(r);
    if (rowLo > rowHi) {
        for (int c = lo; c <= hi; ++c)
            At(r, c) = zero;
        rowLo = lo;
        rowHi = hi;
        return;
    }
    for (int c = lo; c < rowLo; ++c)
        At(r, c) = zero;
    for (int c = rowHi + 1; c <= hi; ++c)
        At(r, c) = zero;
    rowLo = std::min(rowLo, lo);
    rowHi = std::max(rowHi, hi);
}

Real ProfileSystem::ValueAt(int r, int c) const
{
    const std::size_t row = static_cast<std::size_t>(r);
    if (c == N_ + 1 || (lo_[row] <= c && c <= hi_[row]))
        return a_[Index(r, c)];
    return ImplicitZero(r);
}

// Column i is not read again after its step, so the row drops it.
void ProfileSystem::NormalizePivotRow(int i, MessageText& messages)
{
    const std::size_t row = static_cast<std::size_t>(i);
    Hold(i, i, i);
    const Real pivot = UsablePivot(At(i, i), messages);
    lo_[row] = i + 1;
    for (int c = lo_[row]; c <= hi_[row]; ++c)
        At(i, c) = At(i, c) / pivot;
    At(i, N_ + 1) = At(i, N_ + 1) / pivot;
    // Every zero of the row divided by the pivot takes the sign of the quotient.
    negativeZero_[row] = negativeZero_[row] != static_cast<char>(std::signbit(pivot));
}

// Row k minus its column-i coefficient times the pivot row. A product with a
// zero leaves a nonzero coefficient as it is, and +0 too; only a -0 can turn
// into +0 (-0 - (-0)), so a row whose zeros are negative takes up the pivot
// row's columns even when its factor is zero.
void ProfileSystem::EliminateFromRow(int k, int i)
{
    const std::size_t row = static_cast<std::size_t>(k);
    const Real factor = ValueAt(k, i);
    if (factor != 0 || negativeZero_[row])
        Hold(k, lo_[static_cast<std::size_t>(i)], hi_[static_cast<std::size_t>(i)]);
    lo_[row] = std::max(lo_[row], i + 1);
    for (int c = lo_[row]; c <= hi_[row]; ++c)
        At(k, c) = At(k, c) - factor * ValueAt(i, c);
    At(k, N_ + 1) = At(k, N_ + 1) - factor * At(i, N_ + 1);
    const bool negativeProduct = std::signbit(factor) != static_cast<bool>(negativeZero_[static_cast<std::size_t>(i)]);
    negativeZero_[row] = negativeZero_[row] && !negativeProduct;
}

void ProfileSystem::Solve(MessageText& messages)
{
    for (int i = 1; i <= N_; ++i) {
        CheckFpu();
        NormalizePivotRow(i, messages);
        CheckFpu();
        for (int k = 1; k <= N_; ++k)
            if (k != i)
                EliminateFromRow(k, i);
    }
    CheckFpu();
}

}  // namespace quilvex
