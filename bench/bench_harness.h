#pragma once
// A small side-by-side benchmark harness. Each area registers one function with
// SKRIBANDO_BENCH(area); it times our code and its peer (or budget) in the same run and
// reports each comparison with summary.ratio("area.name", value), value > 1 meaning we win.

#include <QImage>
#include <QString>
#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace bench {

class Summary {
public:
    void ratio(const std::string& name, double value) { ratios_.emplace_back(name, value); }
    const std::vector<std::pair<std::string, double>>& ratios() const { return ratios_; }

private:
    std::vector<std::pair<std::string, double>> ratios_;
};

using BenchFunction = void (*)(Summary&);

struct Registrar {
    Registrar(const char* area, BenchFunction function);
};

struct Registered {
    std::string area;
    BenchFunction function;
};
std::vector<Registered>& registry();

// Seconds taken by one call of `work`.
inline double secondsOf(const std::function<void()>& work) {
    auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Timings of `repetitions` calls, sorted ascending, for percentiles.
struct Samples {
    std::vector<double> seconds;
    double percentile(double p) const {
        if (seconds.empty())
            return 0;
        size_t index = std::min(seconds.size() - 1, static_cast<size_t>(p / 100.0 * seconds.size()));
        return seconds[index];
    }
    double median() const { return percentile(50); }
};

inline Samples sample(int repetitions, const std::function<void()>& work) {
    Samples result;
    result.seconds.reserve(repetitions);
    for (int i = 0; i < repetitions; ++i)
        result.seconds.push_back(secondsOf(work));
    std::sort(result.seconds.begin(), result.seconds.end());
    return result;
}

// Runs `ours` and `theirs` interleaved, `rounds` times each, so that noise on this shared
// machine hits both alike; returns the medians.
struct Pair {
    double ours;
    double theirs;
};
inline Pair sideBySide(int rounds, const std::function<void()>& ours,
                       const std::function<void()>& theirs) {
    Samples a, b;
    for (int i = 0; i < rounds; ++i) {
        a.seconds.push_back(secondsOf(ours));
        b.seconds.push_back(secondsOf(theirs));
    }
    std::sort(a.seconds.begin(), a.seconds.end());
    std::sort(b.seconds.begin(), b.seconds.end());
    return {a.median(), b.median()};
}

// A realistic 4K screenshot: the shared benchmark picture when present, else one generated
// here (text, a title bar gradient and a noisy photo-like area). `source` says which.
QImage screenshot4k(QString* source = nullptr);
QImage screenshot1080(QString* source = nullptr);

// Keeps the optimiser from dropping work whose result is otherwise unused.
void keep(const void* pointer);

} // namespace bench

#define SKRIBANDO_BENCH_CAT2(a, b) a##b
#define SKRIBANDO_BENCH_CAT(a, b) SKRIBANDO_BENCH_CAT2(a, b)
#define SKRIBANDO_BENCH(area)                                                                      \
    static void SKRIBANDO_BENCH_CAT(bench_, area)(bench::Summary&);                                \
    static bench::Registrar SKRIBANDO_BENCH_CAT(registrar_, area)(#area,                            \
                                                                  SKRIBANDO_BENCH_CAT(bench_, area)); \
    static void SKRIBANDO_BENCH_CAT(bench_, area)(bench::Summary & summary)
