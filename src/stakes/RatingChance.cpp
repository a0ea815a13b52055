#include "stakes/RatingChance.h"

#include "core/Format.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace lot {

namespace {

using Real = long double;

const Real Pi = 3.141592653589793238462643383279502884L;

/// K(t), K'(t), K''(t) of one stake's overlap count.
struct TCumulants {
    Real K = 0, K1 = 0, K2 = 0;
};

TCumulants CumulantsAt(Real t) {
    const auto &p = OverlapProbabilities();
    Real a[CombSize + 1];
    Real top = -INFINITY;
    for (int i = 0; i <= CombSize; ++i) {
        a[i] = std::log(p[size_t(i)]) + t * i;
        top = std::max(top, a[i]);
    }
    Real sum = 0, m1 = 0, m2 = 0;
    for (int i = 0; i <= CombSize; ++i) {
        const Real w = std::exp(a[i] - top);
        sum += w;
        m1 += w * i;
        m2 += w * i * i;
    }
    TCumulants c;
    c.K = top + std::log(sum);
    c.K1 = m1 / sum;
    c.K2 = std::max<Real>(m2 / sum - c.K1 * c.K1, 0);
    return c;
}

/// The t with K'(t) = m, 0 < m < 6 (K' grows from 0 to 6).
Real SaddlePoint(Real m) {
    Real lo = -80, hi = 80;
    for (int k = 0; k < 256 && hi - lo > 1e-16L * std::max<Real>(1, std::fabs(lo)); ++k) {
        const Real mid = (lo + hi) / 2;
        if (CumulantsAt(mid).K1 < m)
            lo = mid;
        else
            hi = mid;
    }
    return (lo + hi) / 2;
}

/// Q(w) / phi(w), the Mills ratio, for w >= 0.
Real MillsRatio(Real w) {
    if (w < 30) return std::erfc(w / std::sqrt(Real(2))) / 2 / (std::exp(-w * w / 2) / std::sqrt(2 * Pi));
    // Asymptotic series; at w >= 30 its terms fall fast.
    const Real w2 = w * w;
    return (1 - 1 / w2 + 3 / (w2 * w2) - 15 / (w2 * w2 * w2)) / w;
}

} // namespace

long double ExactChanceOfOverlaps(int64_t n, int64_t overlaps) {
    if (n <= 0 || overlaps <= 0) return 1;
    if (overlaps > int64_t(CombSize) * n) return 0;
    const auto &p = OverlapProbabilities();
    std::vector<Real> dist{1};
    std::vector<Real> next;
    for (int64_t s = 0; s < n; ++s) {
        next.assign(dist.size() + CombSize, 0);
        for (size_t j = 0; j < dist.size(); ++j) {
            const Real d = dist[j];
            if (d == 0) continue;
            for (int i = 0; i <= CombSize; ++i)
                next[j + size_t(i)] += d * p[size_t(i)];
        }
        dist.swap(next);
    }
    // The upper tail summed from its smallest terms.
    Real tail = 0;
    for (size_t j = dist.size(); j-- > size_t(overlaps);)
        tail += dist[j];
    return std::min<Real>(tail, 1);
}

long double ApproxChanceOfOverlaps(int64_t n, int64_t overlaps) {
    if (n <= 0 || overlaps <= 0) return 1;
    const int64_t top = int64_t(CombSize) * n;
    if (overlaps > top) return 0;
    const auto &p = OverlapProbabilities();
    if (overlaps == top) return std::exp(Real(n) * std::log(p[CombSize]));
    const Real nn = Real(n);
    const Real m = (Real(overlaps) - Real(0.5)) / nn;
    const Real t = SaddlePoint(m);
    const TCumulants c = CumulantsAt(t);
    if (std::fabs(t) < 1e-6L) {
        // At the mean: the limit of the formula, 1/2 - skewness / (6 sqrt(2 pi n)).
        const TCumulants c0 = CumulantsAt(0);
        Real k3 = 0;
        for (int i = 0; i <= CombSize; ++i)
            k3 += p[size_t(i)] * std::pow(i - c0.K1, 3);
        return 0.5L - k3 / std::pow(c0.K2, Real(1.5)) / (6 * std::sqrt(2 * Pi * nn));
    }
    const Real arg = std::max<Real>(2 * nn * (t * m - c.K), 0);
    const Real w = (t < 0 ? -1 : 1) * std::sqrt(arg);
    const Real u = 2 * std::sinh(t / 2) * std::sqrt(nn * c.K2);
    Real result = 0;
    if (w > 0) {
        // Q(w) + phi(w) (1/u - 1/w), phi(w) taken out so that far tails do not cancel.
        const Real logPhi = -w * w / 2 - std::log(std::sqrt(2 * Pi));
        result = std::exp(logPhi) * (MillsRatio(w) + 1 / u - 1 / w);
    } else {
        // 1 - Q(-w) + phi(w) (1/u - 1/w)
        const Real phi = std::exp(-w * w / 2) / std::sqrt(2 * Pi);
        result = 1 - phi * MillsRatio(-w) + phi * (1 / u - 1 / w);
    }
    return std::clamp<Real>(result, 0, 1);
}

long double ChanceOfOverlaps(int64_t n, int64_t overlaps, int exactLimit) {
    if (n <= exactLimit) return ExactChanceOfOverlaps(n, overlaps);
    return ApproxChanceOfOverlaps(n, overlaps);
}

QString RatingChanceText(const TRatingRec &rec) {
    if (rec.Stakes <= 0) return {};
    const long double p = ChanceOfOverlaps(rec.Stakes, rec.Overlaps);
    if (p <= 0) return QStringLiteral("0");
    if (p >= 1e-4L) return QString::number(double(p), 'g', 3);
    // Below the range of a double too: mantissa and exponent apart.
    int e = int(std::floor(std::log10(p)));
    long double mant = p / std::pow(10.0L, e);
    if (mant >= 9.995L) {
        mant /= 10;
        ++e;
    }
    return QString::number(double(mant), 'f', 2) + QStringLiteral("e") + QString::number(e);
}

QString RatingChanceHint(const TRatingRec &rec) {
    if (rec.Stakes <= 0) return {};
    return Format(QStringLiteral("Вероятность угадать случайными ставками (%d) не меньше %d: %s"),
                  {rec.Stakes, rec.Overlaps, RatingChanceText(rec)});
}

} // namespace lot
