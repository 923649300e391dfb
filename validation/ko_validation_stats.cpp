#include "ko_validation_stats.h"

#include <cmath>

namespace {

// P(|T| < t) for Student's t with a whole number df of degrees of freedom,
// by the closed forms in theta = atan(t / sqrt(df)) (Abramowitz and Stegun
// 26.7.3 and 26.7.4): exact, no tables.
double TwoSidedProbability(double t, int df)
{
    const double theta = std::atan(t / std::sqrt(double(df)));
    const double c2 = std::cos(theta) * std::cos(theta);
    const double s = std::sin(theta);
    if (df % 2 == 0) {
        double term = 1;
        double sum = 1;
        for (int k = 2; k <= df - 2; k += 2) {
            term *= c2 * (k - 1) / k;
            sum += term;
        }
        return s * sum;
    }
    if (df == 1)
        return 2 * theta / M_PI;
    double term = std::cos(theta);
    double sum = term;
    for (int k = 3; k <= df - 2; k += 2) {
        term *= c2 * (k - 1) / k;
        sum += term;
    }
    return 2 / M_PI * (theta + s * sum);
}

} // namespace

double KoValidationStats::TQuantile95(int df)
{
    if (df < 1)
        return NAN;
    // The probability grows with t: halve the bracket until it is exact
    // to the last bits.
    double low = 0;
    double high = 20;
    while (TwoSidedProbability(high, df) < 0.95)
        high *= 2;
    for (int i = 0; i < 100 && high - low > 1e-12; ++i) {
        const double mid = (low + high) / 2;
        (TwoSidedProbability(mid, df) < 0.95 ? low : high) = mid;
    }
    return (low + high) / 2;
}

QVector<double> KoValidationStats::Deviations(const QVector<QPair<int, int>>& hand_device)
{
    QVector<double> deviations;
    for (const auto& sample : hand_device) {
        if (sample.first > 0)
            deviations.append(double(sample.second - sample.first) / sample.first);
    }
    return deviations;
}

KoValidationStats::Figures KoValidationStats::Judge(const QVector<double>& deviations,
                                                    double tolerance)
{
    Figures f;
    f.samples = deviations.size();
    const int n = f.samples;
    if (n == 0) {
        f.moreNeeded = 2;
        return f;
    }
    double sum = 0;
    for (double d : deviations)
        sum += d;
    f.mean = sum / n;
    f.low = f.high = f.mean;
    if (n < 2) {
        // One sample has no spread to judge by.
        f.moreNeeded = 1;
        return f;
    }
    double squares = 0;
    for (double d : deviations)
        squares += (d - f.mean) * (d - f.mean);
    f.sd = std::sqrt(squares / (n - 1));
    const double half = TQuantile95(n - 1) * f.sd / std::sqrt(double(n));
    f.low = f.mean - half;
    f.high = f.mean + half;

    // Figures such as 0.05 and 5 % arrive through sums and divisions: their
    // last bits do not decide a verdict.
    constexpr double Slack = 1e-12;
    if (f.low >= -tolerance - Slack && f.high <= tolerance + Slack) {
        f.verdict = Verdict::Within;
        return f;
    }
    if (f.low > tolerance + Slack || f.high < -tolerance - Slack) {
        f.verdict = Verdict::Outside;
        return f;
    }
    // The interval shrinks with more samples of the same spread: the first
    // count at which it clears the tolerance's edge on the mean's side.
    f.verdict = Verdict::NotEnough;
    f.moreNeeded = -1;
    const double margin = std::abs(tolerance - std::abs(f.mean));
    const auto clears = [&f, margin](int m) {
        return TQuantile95(m - 1) * f.sd / std::sqrt(double(m)) < margin;
    };
    if (margin <= Slack || !clears(MaxSamples))
        return f;
    // t / sqrt(m) falls as m grows: the first m that clears, by halving.
    int low = n;           // does not clear
    int high = MaxSamples; // clears
    while (high - low > 1) {
        const int mid = low + (high - low) / 2;
        (clears(mid) ? high : low) = mid;
    }
    f.moreNeeded = high - n;
    return f;
}
