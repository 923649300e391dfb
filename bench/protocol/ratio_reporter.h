#pragma once

// A console reporter that also keeps the CPU time of every benchmark, so the
// program can print the ratio of two of them measured in the same run.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& reports) override
    {
        for (const Run& run : reports) {
            if (run.run_type == Run::RT_Iteration)
                times[run.run_name.str()] = run.GetAdjustedCPUTime();
        }
        ConsoleReporter::ReportRuns(reports);
    }

    // time(reference) / time(subject): the subject's speed as a share of the reference's.
    void PrintSpeedRatio(const std::string& subject, const std::string& reference,
                         const char* what) const
    {
        const auto s = times.find(subject);
        const auto r = times.find(reference);
        if (s == times.end() || r == times.end() || s->second <= 0)
            return;
        std::printf("%s: %.3f\n", what, r->second / s->second);
    }

    // time(subject) / time(reference): the subject's cost as a share of the reference's.
    void PrintCostRatio(const std::string& subject, const std::string& reference,
                        const char* what) const
    {
        const auto s = times.find(subject);
        const auto r = times.find(reference);
        if (s == times.end() || r == times.end() || r->second <= 0)
            return;
        std::printf("%s: %.3f\n", what, s->second / r->second);
    }

private:
    std::map<std::string, double> times;
};
