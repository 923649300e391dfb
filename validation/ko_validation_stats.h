#pragma once

#include <QPair>
#include <QVector>

// The figures of a door validation over its samples: each sample's relative
// deviation of the device's count from the hand count, their mean with a 95 %
// confidence interval (Student t), and the verdict against a tolerance.
class KoValidationStats
{
public:
    enum class Verdict
    {
        NotEnough, // the interval reaches over the tolerance's edge
        Within,    // the whole interval lies inside plus or minus the tolerance
        Outside,   // the whole interval lies outside it
    };

    struct Figures
    {
        int samples = 0;   // samples with a hand count, the others say nothing
        double mean = 0;   // mean relative deviation, 0.01 is 1 %
        double sd = 0;     // sample standard deviation (n - 1)
        double low = 0;    // the 95 % interval
        double high = 0;
        Verdict verdict = Verdict::NotEnough;
        // NotEnough: how many more samples like these would decide it; -1
        // when no number of them would (the mean lies on the tolerance).
        int moreNeeded = 0;
    };

    // The largest number of samples the estimate looks for.
    static constexpr int MaxSamples = 10000;

    // The two-sided 95 % quantile of Student's t with df degrees of freedom
    // (df >= 1): P(|T| < t) = 0.95.
    static double TQuantile95(int df);

    // (device - hand) / hand of every sample with a hand count.
    static QVector<double> Deviations(const QVector<QPair<int, int>>& hand_device);

    // tolerance as a share (0.05 for plus or minus 5 %).
    static Figures Judge(const QVector<double>& deviations, double tolerance);
};
