// Reading and writing a 100,000-line playlist through the text file service,
// against the standard library doing the same job on the same file in the
// same run. Prints the ratios and exits non-zero when one misses its goal.
//
// A busy machine slows some repetitions, never speeds one up, so each side is
// measured as the fastest of several repetitions, run in random interleaving
// so that a slow spell does not fall on one side only. The goal is judged on
// CPU time (the thread's, system calls included); the wall-clock ratio is
// printed beside it.
//
// Read: file_open, then file_read_line until file_eof, each line built in the
// text builder from a mark and rewound, as the application reads a playlist;
// the lines are decoded from UTF-8 to UTF-16. Baseline: std::ifstream and
// std::getline into one reused std::string, a trailing CR dropped; no
// conversion.
//
// Write: file_create, file_write_line for every line (each a UTF-16 text,
// converted to UTF-8 inside), file_close. Baseline: std::ofstream writing the
// same lines' UTF-8 bytes (converted before timing) and CR LF with write(),
// then close.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "runtime/file/file.h"
#include "runtime/text/text.h"

namespace {

constexpr int line_count = 100000;
constexpr double goal = 1.5;

struct Playlist {
    std::filesystem::path folder;
    std::filesystem::path file;        // the playlist to read
    std::filesystem::path output;      // written by the write benchmarks
    std::vector<std::u16string> texts;
    std::vector<std::string> bytes;    // the same lines in UTF-8
};

Playlist* playlist = nullptr;

std::u16string widen_ascii(const std::string& s) { return std::u16string(s.begin(), s.end()); }

// Paths like /Music/Artist 12/Album 3/07 Title 4711.mp3; every tenth one
// with letters outside ASCII.
void make_playlist(Playlist& p) {
    const std::u16string foreign[] = {u"Καλημέρα", u"音楽の曲", u"Café Déjà Vu", u"Ünïcödé"};
    const char* foreign_utf8[] = {"\xCE\x9A\xCE\xB1\xCE\xBB\xCE\xB7\xCE\xBC\xCE\xAD\xCF\x81\xCE\xB1",
                                  "\xE9\x9F\xB3\xE6\xA5\xBD\xE3\x81\xAE\xE6\x9B\xB2",
                                  "Caf\xC3\xA9 D\xC3\xA9j\xC3\xA0 Vu", "\xC3\x9Cn\xC3\xAF" "c\xC3\xB6" "d\xC3\xA9"};
    for (int i = 0; i < line_count; ++i) {
        std::string head = "/Music/Artist " + std::to_string(i % 97) + "/Album " + std::to_string(i % 13) +
                           "/" + (i % 20 < 9 ? "0" : "") + std::to_string(i % 20 + 1) + " ";
        std::string tail = "Title " + std::to_string(i) + ".mp3";
        if (i % 10 == 0) {
            p.texts.push_back(widen_ascii(head) + foreign[i % 4] + u" " + widen_ascii(tail));
            p.bytes.push_back(head + foreign_utf8[i % 4] + " " + tail);
        } else {
            p.texts.push_back(widen_ascii(head + tail));
            p.bytes.push_back(head + tail);
        }
    }
    std::ofstream out(p.file, std::ios::binary | std::ios::trunc);
    for (const std::string& line : p.bytes) out << line << "\r\n";
}

void BM_ReadLines_Service(benchmark::State& state) {
    std::u16string path = playlist->file.u16string();
    std::size_t characters = 0;
    for (auto _ : state) {
        if (!file_open(0, path.c_str())) {
            state.SkipWithError("file_open failed");
            return;
        }
        int lines = 0;
        while (file_eof(0) == 0) {
            int mark = text_builder_mark();
            char16_t* line = file_read_line(0);
            characters += static_cast<std::size_t>(text_builder_mark() - mark) / 2;
            benchmark::DoNotOptimize(line);
            text_builder_rewind(mark);
            ++lines;
        }
        file_close(0);
        if (lines != line_count) state.SkipWithError("wrong line count");
    }
    benchmark::DoNotOptimize(characters);
}

void BM_ReadLines_Getline(benchmark::State& state) {
    std::size_t characters = 0;
    for (auto _ : state) {
        std::ifstream in(playlist->file, std::ios::binary);
        std::string line;
        int lines = 0;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            characters += line.size();
            benchmark::DoNotOptimize(line.data());
            ++lines;
        }
        if (lines != line_count) state.SkipWithError("wrong line count");
    }
    benchmark::DoNotOptimize(characters);
}

void BM_WriteLines_Service(benchmark::State& state) {
    std::u16string path = playlist->output.u16string();
    for (auto _ : state) {
        if (!file_create(0, path.c_str())) {
            state.SkipWithError("file_create failed");
            return;
        }
        for (const std::u16string& text : playlist->texts) file_write_line(0, text.c_str());
        file_close(0);
    }
}

void BM_WriteLines_Ofstream(benchmark::State& state) {
    for (auto _ : state) {
        std::ofstream out(playlist->output, std::ios::binary | std::ios::trunc);
        for (const std::string& line : playlist->bytes) {
            out.write(line.data(), static_cast<std::streamsize>(line.size()));
            out.write("\r\n", 2);
        }
        out.close();
    }
}

double fastest(const std::vector<double>& times) { return *std::min_element(times.begin(), times.end()); }

void timed_repeatedly(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)->Repetitions(9)->ComputeStatistics("min", fastest);
}

BENCHMARK(BM_ReadLines_Getline)->Apply(timed_repeatedly);
BENCHMARK(BM_ReadLines_Service)->Apply(timed_repeatedly);
BENCHMARK(BM_WriteLines_Ofstream)->Apply(timed_repeatedly);
BENCHMARK(BM_WriteLines_Service)->Apply(timed_repeatedly);

// Keeps the fastest times of every benchmark for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    struct Times {
        double cpu = 0;
        double real = 0;
    };
    std::map<std::string, Times> fastest;

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "min")
                fastest[run.run_name.function_name] = {run.GetAdjustedCPUTime(), run.GetAdjustedRealTime()};
        ConsoleReporter::ReportRuns(runs);
    }
};

bool report_ratio(const RatioReporter& reporter, const char* what, const std::string& ours,
                  const std::string& baseline) {
    auto a = reporter.fastest.find(ours);
    auto b = reporter.fastest.find(baseline);
    if (a == reporter.fastest.end() || b == reporter.fastest.end()) return true;  // filtered out
    if (b->second.cpu <= 0 || b->second.real <= 0) return false;
    double ratio = a->second.cpu / b->second.cpu;
    bool met = ratio <= goal;
    std::printf("%s: %s / %s = %.2f CPU time (goal <= %.1f: %s), %.2f wall-clock\n", what, ours.c_str(),
                baseline.c_str(), ratio, goal, met ? "met" : "MISSED", a->second.real / b->second.real);
    return met;
}

}  // namespace

int main(int argc, char** argv) {
    // Interleaving first, so that an option given on the command line wins.
    std::vector<char*> args(argv, argv + argc);
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave);
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    if (!text_init() || !file_init()) return 2;
    text_builder_ensure();
    Playlist p;
    p.folder = std::filesystem::temp_directory_path() / "tunelathe-file-bench";
    std::filesystem::create_directories(p.folder);
    p.file = p.folder / "playlist.m3u";
    p.output = p.folder / "written.m3u";
    make_playlist(p);
    playlist = &p;

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    bool met = report_ratio(reporter, "read", "BM_ReadLines_Service", "BM_ReadLines_Getline");
    met = report_ratio(reporter, "write", "BM_WriteLines_Service", "BM_WriteLines_Ofstream") && met;

    file_close_all();
    text_end();
    std::filesystem::remove_all(p.folder);
    benchmark::Shutdown();
    return met ? 0 : 1;
}
