// Building and assigning a million short texts ("Track " + i + ".mp3")
// through the text builder, against std::u16string concatenation assigned to
// a std::u16string. The program reports the ratio of the two, measured in
// the same run: "ratio: X" (builder time / string time; the goal is <= 1.5).
// Each benchmark runs several times, interleaved at random with the others,
// and the best processor time of each is compared, which keeps load from
// other processes on the machine out of the ratio.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "runtime/text/text.h"
#include "runtime/text/text_value.h"

namespace {
constexpr int text_count = 1'000'000;

void BM_BuilderIntoTextVariable(benchmark::State& state) {
    char16_t* variable = nullptr;
    for (auto _ : state) {
        for (int i = 0; i < text_count; ++i) {
            int mark = text_builder_mark();
            text_builder_append(u"Track ");
            text_from_int(i, -1);
            text_builder_append(u".mp3");
            text_builder_assign(&variable, mark);
        }
        benchmark::DoNotOptimize(variable);
    }
    text_free(&variable);
}

void BM_TextBuildIntoText(benchmark::State& state) {
    Text variable;
    for (auto _ : state) {
        for (int i = 0; i < text_count; ++i) variable = TextBuild(u"Track ") + i + u".mp3";
        benchmark::DoNotOptimize(variable.c_str());
    }
}

std::u16string number_text(int value) {
    char digits[16];
    auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    return std::u16string(digits, end);
}

void BM_U16StringConcatenation(benchmark::State& state) {
    std::u16string variable;
    for (auto _ : state) {
        for (int i = 0; i < text_count; ++i) variable = u"Track " + number_text(i) + u".mp3";
        benchmark::DoNotOptimize(variable.data());
    }
}

constexpr int repetitions = 7;
BENCHMARK(BM_U16StringConcatenation)->Unit(benchmark::kMillisecond)->Repetitions(repetitions);
BENCHMARK(BM_BuilderIntoTextVariable)->Unit(benchmark::kMillisecond)->Repetitions(repetitions);
BENCHMARK(BM_TextBuildIntoText)->Unit(benchmark::kMillisecond)->Repetitions(repetitions);

// Shows the runs as usual and keeps each benchmark's best processor time per
// iteration over its repetitions.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration) continue;
            double& best = best_times[run.run_name.function_name];
            double time = run.GetAdjustedCPUTime();
            if (best == 0 || time < best) best = time;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> best_times;
};
}  // namespace

int main(int argc, char** argv) {
    if (!text_init()) return 1;
    // Interleaving is the default here; a later flag on the command line wins.
    std::vector<char*> arguments(argv, argv + argc);
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    arguments.insert(arguments.begin() + 1, interleave);
    int count = static_cast<int>(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    text_end();

    double baseline = reporter.best_times["BM_U16StringConcatenation"];
    double builder = reporter.best_times["BM_BuilderIntoTextVariable"];
    double helper = reporter.best_times["BM_TextBuildIntoText"];
    if (baseline <= 0 || builder <= 0) return 0;  // filtered out: nothing to compare
    std::printf("ratio: %.2f (builder / std::u16string, goal <= 1.5)\n", builder / baseline);
    if (helper > 0) std::printf("ratio TextBuild: %.2f (TextBuild / std::u16string)\n", helper / baseline);
    return 0;
}
