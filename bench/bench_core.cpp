// Reading, writing, batch start-up and peak memory, the product against the plain way.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "app/panel_values.h"
#include "app/parameter_model.h"
#include "bench/baselines.h"
#include "bench/bench_table.h"
#include "bench/workload.h"
#include "copyarray/writer.h"
#include "figure/decimal.h"
#include "figure/reader.h"
#include "figure/workers.h"
#include "view/figure_outlines.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

struct Workloads {
    std::string dir;
    std::string large;   // 1,000,000 entities
    std::string medium;  // 10,000 entities
    double largeBytes = 0;
    Workloads() {
        char pattern[] = "/tmp/zovrel-bench-XXXXXX";
        dir = mkdtemp(pattern);
        large = dir + "/large.txt";
        medium = dir + "/medium.txt";
        const std::string l = makeDrawing(1000000), m = makeDrawing(10000);
        std::ofstream(large, std::ios::binary) << l;
        std::ofstream(medium, std::ios::binary) << m;
        largeBytes = static_cast<double>(l.size());
    }
};

Workloads& workloads() {
    static Workloads w;
    return w;
}

// Moves, a small turn and scale 1, so the plain writer's pow writes the same digits.
CopyInputs benchInputs(const char* copies) {
    CopyInputs in = startupInputs(0, 0);
    in.setText(kRowMoveX, "150");
    in.setText(kRowMoveY, "40");
    in.rowSlider[kRowMoveY] = 100;
    in.setText(kRowAngle, "3");
    in.rowSlider[kRowAngle] = 100;
    in.setText(kRowCopies, copies);
    return in;
}

double fileSize(const std::string& path) {
    std::ifstream f(path, std::ios::binary | std::ios::ate);
    return static_cast<double>(f.tellg());
}

// The window's path reads the figure and samples its outlines for the preview; the batch
// tool's only reads. The plain way samples outlines in either case.
template <class Load>
void readBenchmark(benchmark::State& state, Load load, bool product, bool outlines = true) {
    const Workloads& w = workloads();
    double total = 0;
    for (auto _ : state) {
        auto figure = std::make_unique<Figure>();
        FigureOutlines preview;
        const auto t0 = Clock::now();
        load(w.large.c_str(), *figure);
        if (product && outlines) preview.build(*figure);
        total += std::chrono::duration<double>(Clock::now() - t0).count();
        state.PauseTiming();
        figure.reset();  // freeing is not reading
        preview = FigureOutlines();
        state.ResumeTiming();
    }
    BenchRow& row =
        benchRows()[outlines ? "read 1,000,000 entities (" +
                                   std::to_string(static_cast<long>(w.largeBytes / 1e6)) + " MB)"
                             : "read 1,000,000 entities, no outlines (batch)"];
    (product ? row.productSeconds : row.plainSeconds) = total / state.iterations();
    row.bytes = w.largeBytes;
    state.SetBytesProcessed(static_cast<int64_t>(w.largeBytes) * state.iterations());
}

bool loadWithCores(const char* path, Figure& figure) {
    return loadFigure(path, figure);
}

void BM_ReadLarge(benchmark::State& state) {
    readBenchmark(state, loadWithCores, true);
}
void BM_ReadLargeForBatch(benchmark::State& state) {
    readBenchmark(state, loadWithCores, true, false);
}
void BM_ReadLargeForBatchPlain(benchmark::State& state) {
    readBenchmark(state, plainLoadFigure, false, false);
}
void BM_ReadLargePlain(benchmark::State& state) {
    readBenchmark(state, plainLoadFigure, false);
}

struct WriteCase {
    const char* name;
    bool large;
    const char* copies;
};
const WriteCase kWrites[] = {{"write 20 copies of 10,000 entities", false, "20"},
                             {"write 2 copies of 1,000,000 entities", true, "2"}};

void writeBenchmark(benchmark::State& state, bool product) {
    const WriteCase& c = kWrites[state.range(0)];
    const Workloads& w = workloads();
    Figure figure;
    loadFigure(c.large ? w.large.c_str() : w.medium.c_str(), figure);
    const CopyInputs inputs = benchInputs(c.copies);
    const std::string tag = std::to_string(state.range(0));
    const std::string out = w.dir + (product ? "/product" : "/plain") + tag + ".out";
    double total = 0;
    for (auto _ : state) {
        CopyArray copies;
        const auto t0 = Clock::now();
        if (product) {
            std::FILE* f = std::fopen(out.c_str(), "wb");
            OutputBuffer buffer(f);
            emitCopies(figure, copies, evaluateCopyParameters(inputs), buffer);
            std::fclose(f);
        } else {
            std::FILE* f = std::fopen(out.c_str(), "w");
            plainWriteCopies(figure, copies, inputs, f);
            std::fclose(f);
        }
        total += std::chrono::duration<double>(Clock::now() - t0).count();
    }
    BenchRow& row = benchRows()[c.name];
    (product ? row.productSeconds : row.plainSeconds) = total / state.iterations();
    row.bytes = fileSize(out);
    state.SetBytesProcessed(static_cast<int64_t>(row.bytes) * state.iterations());
    const std::string other = w.dir + (product ? "/plain" : "/product") + tag + ".out";
    std::ifstream a(out, std::ios::binary), b(other, std::ios::binary);
    std::stringstream sa, sb;
    sa << a.rdbuf();
    sb << b.rdbuf();
    if (!sb.str().empty())
        row.note = sa.str() == sb.str() ? "byte-identical to the plain writer" : "OUTPUT DIFFERS";
}

// The same drawing with a colour change every 10 elements, written with the attributes kept
// and without, in the same run: keeping them may cost at most 1.3 times. Argument 1: with texts
// and solids, which only the copies that keep the attributes write.
void BM_WriteKeepingAttributes(benchmark::State& state) {
    const Workloads& w = workloads();
    const bool optional = state.range(0) == 1;
    const std::string path = w.dir + "/attributed.txt";
    std::ofstream(path, std::ios::binary)
        << makeDrawing(1000000, 88172645463325252ull, 10, optional);
    Figure figure;
    loadFigure(path.c_str(), figure);
    std::remove(path.c_str());
    const std::string out = w.dir + "/attributed.out";
    double seconds[2] = {0, 0}, bytes = 0;
    for (auto _ : state) {
        for (int keep = 0; keep < 2; ++keep) {
            CopyInputs inputs = benchInputs("2");
            inputs.keepAttributes = keep == 1;
            CopyArray copies;
            const auto t0 = Clock::now();
            std::FILE* f = std::fopen(out.c_str(), "wb");
            {
                OutputBuffer buffer(f);
                emitCopies(figure, copies, evaluateCopyParameters(inputs), buffer);
            }
            std::fclose(f);
            seconds[keep] += std::chrono::duration<double>(Clock::now() - t0).count();
            if (keep) bytes = fileSize(out);
        }
    }
    std::remove(out.c_str());
    BenchRow& row = benchRows()[optional ? "write 2 copies of 1,000,000, texts, solids"
                                         : "write 2 copies of 1,000,000, attributes kept"];
    row.productSeconds = seconds[1] / state.iterations();
    row.bytes = bytes;
    const double ratio = seconds[1] / seconds[0];
    char note[160];
    std::snprintf(note, sizeof note, "a change every 10 elements; off %.0f ms: %.2f x%s",
                  seconds[0] / state.iterations() * 1e3, ratio, ratio <= 1.3 ? "" : " OVER 1.3 x");
    row.note = note;
}

void BM_Write(benchmark::State& state) {
    writeBenchmark(state, true);
}
void BM_WritePlain(benchmark::State& state) {
    writeBenchmark(state, false);
}

// Runs a command with standard output to /dev/null; returns its wall time.
double runProcess(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const auto t0 = Clock::now();
    pid_t pid;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

std::string selfPath;

// The writer's memory must not grow with its threads, even where one polyline holds most of
// the copies' lines: one of 2,000,000 segments and 16,384 points, 6 copies, written by a child
// process per thread count, whose peak resident size is its own.
constexpr int kPeakThreads[] = {1, 16};

struct PeakRun {
    double peakMb = 0, figureMb = 0, seconds = 0, bytes = 0;
};

PeakRun peakRun(const char* what, int threads) {
    const std::string out = workloads().dir + "/peak.out";
    const std::string args[] = {selfPath, what, std::to_string(threads)};
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    PeakRun run;
    pid_t pid;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        waitpid(pid, &status, 0);
        std::ifstream(out) >> run.peakMb >> run.figureMb >> run.seconds >> run.bytes;
    }
    posix_spawn_file_actions_destroy(&actions);
    std::remove(out.c_str());
    return run;
}

// The process's peak resident size since its start: VmHWM belongs to the memory of this
// program, while getrusage's maximum carries over from the parent through exec.
double peakKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.compare(0, 6, "VmHWM:") == 0) return std::strtod(line.c_str() + 6, nullptr);
    return 0;
}

// In the child: builds the figure, writes the copies to /dev/null and prints the peak and the
// figure's share in MB, the seconds of writing and the bytes written. The figure is the long
// polyline, or with longText one text of 100 kB beside a segment, 10,000 copies with the
// attributes kept: a long string must stream, not pile up in every thread's part.
int writePeak(int threads, bool longText) {
    Figure figure;
    if (longText) {
        TextItem& t = figure.texts.emplace_back();
        t.dx = 100.0;
        t.string = "\"" + std::string(100000, 'x');
        figure.lines.push_back({0, 0, 1, 1});
    } else {
        std::vector<LineItem>& segments = figure.polylines.emplace_back().segments;
        segments.reserve(2000000);  // no growth by copying, which would pass for the writer's
        for (int i = 0; i < 2000000; ++i) {
            const double x = (i % 50000) * 1.25, y = (i % 977) * 3.5;
            segments.push_back({x, y, x + 1.25, y + 3.5});
        }
        for (int i = 0; i < 16384; ++i) figure.points.push_back({i * 0.5, 7.0});
    }
    const double figureKb = peakKilobytes();
    // A stream that only counts: half a gigabyte on disk would measure the disk.
    static long written = 0;
    cookie_io_functions_t counting{};
    counting.write = [](void*, const char*, size_t n) -> ssize_t {
        written += static_cast<long>(n);
        return static_cast<ssize_t>(n);
    };
    std::FILE* sink = fopencookie(nullptr, "wb", counting);
    if (!sink) return 1;
    CopyArray copies;
    CopyInputs inputs = benchInputs(longText ? "10000" : "6");
    inputs.keepAttributes = longText;
    const auto t0 = Clock::now();
    {
        OutputBuffer out(sink);
        emitCopies(figure, copies, evaluateCopyParameters(inputs), out, threads);
    }
    std::fflush(sink);
    const double seconds = std::chrono::duration<double>(Clock::now() - t0).count();
    std::fclose(sink);
    std::printf("%.1f %.1f %.3f %ld\n", peakKilobytes() / 1000, figureKb / 1000, seconds, written);
    return 0;
}

// A peak-memory row: the child run with one thread and with `many`, the second's within 1.5 x.
void peakRow(benchmark::State& state, const char* what, int many, const char* name,
             const char* workload) {
    PeakRun runs[2];
    for (auto _ : state)
        for (int i = 0; i < 2; ++i) runs[i] = peakRun(what, i == 0 ? 1 : many);
    BenchRow& row = benchRows()[name];
    row.productSeconds = runs[1].seconds;
    row.bytes = runs[1].bytes;
    char note[200];
    const double ratio = runs[1].peakMb / runs[0].peakMb;
    std::snprintf(note, sizeof note,
                  "%s, %d threads; peak %.1f MB with 1 thread (%.2f s), %.1f MB with %d: %.2f x%s; "
                  "figure %.0f MB",
                  workload, many, runs[0].peakMb, runs[0].seconds, runs[1].peakMb, many, ratio,
                  ratio <= 1.5 ? "" : " OVER 1.5 x", runs[0].figureMb);
    row.note = note;
}

void BM_WritePeakMemory(benchmark::State& state) {
    peakRow(state, "--write-peak", kPeakThreads[1],
            "peak memory writing a 2,000,000-segment polyline", "6 copies");
}

void BM_WritePeakMemoryLongText(benchmark::State& state) {
    peakRow(state, "--write-peak-text", 4, "peak memory, a 100 kB text 10,000 times",
            "attributes kept");
}

// The readout's verdict on every change, with one text far out beside 100,000 segments and
// 10,000 copies: the texts not written (check box off), written, and written with a scale
// that grows the copies to within a few times the largest double, which the copies' common
// bound cannot pass and each copy's matrix must. A few milliseconds each at most.
void BM_ReadoutFarCoordinate(benchmark::State& state) {
    const std::string text = makeSegments(100000) + "ch 1e307 0 10 0 \"far\r\n";
    Figure figure;
    loadFigureFromMemory(text.data(), text.size(), figure);
    ParameterModel model;
    model.setFigure(figure);
    model.setRows(benchInputs("10000"));
    const struct {
        bool keep;
        const char* scale;
    } cases[] = {{false, "1"}, {true, "1"}, {true, "1.0002"}};
    double seconds[3] = {0, 0, 0};
    int changes = 0;
    bool writable = true;
    for (auto _ : state) {
        for (int c = 0; c < 3; ++c) {
            model.setKeepAttributes(cases[c].keep);
            model.setRowText(kRowScaleX, cases[c].scale);
            model.setRowText(kRowScaleY, cases[c].scale);
            const auto t0 = Clock::now();
            for (int i = 0; i < 10; ++i) model.setRowText(kRowMoveX, i % 2 ? "150" : "151");
            seconds[c] += std::chrono::duration<double>(Clock::now() - t0).count();
            writable = writable && model.writable;
        }
        changes += 10;
    }
    BenchRow& row = benchRows()["readout per change, 100,000 segments + 1e307"];
    row.productSeconds = *std::max_element(seconds, seconds + 3) / changes;
    char note[200];
    std::snprintf(note, sizeof note,
                  "10,000 copies; text not written %.3f ms, written %.3f ms, scale 1.0002 "
                  "%.3f ms%s%s",
                  seconds[0] / changes * 1e3, seconds[1] / changes * 1e3,
                  seconds[2] / changes * 1e3, row.productSeconds <= 0.005 ? "" : " OVER 5 ms",
                  writable ? "" : " REFUSED");
    row.note = note;
}

// Start to exit with 2 copies, and with 20, where writing takes most of the time.
void startupBenchmark(benchmark::State& state, bool product) {
    const Workloads& w = workloads();
    const std::string copies = std::to_string(state.range(0));
    double total = 0;
    for (auto _ : state) {
        total += product ? runProcess({ZOVREL_BATCH, "--copies", copies, "-o", "-", w.large})
                         : runProcess({selfPath, "--plain-batch", w.large, copies});
    }
    BenchRow& row =
        benchRows()["zovrel-batch start to exit, 1,000,000 entities, " + copies + " copies"];
    (product ? row.productSeconds : row.plainSeconds) = total / state.iterations();
}

void BM_BatchStartup(benchmark::State& state) {
    startupBenchmark(state, true);
}
void BM_BatchStartupPlain(benchmark::State& state) {
    startupBenchmark(state, false);
}

// The numbers the writer writes: coordinates with six decimals, coordinates after a turn (all
// 17 digits), angles and small values. One number is a few nanoseconds, so one run formats or
// reads a million of them, and the row gives nanoseconds per number.
constexpr int kMixNumbers = 1000000;

const std::vector<double>& numberMix() {
    static const std::vector<double> mix = [] {
        std::mt19937_64 random(20261207);
        std::vector<double> v;
        v.reserve(kMixNumbers);
        for (int i = 0; i < kMixNumbers; ++i) {
            const int kind = static_cast<int>(random() % 20);
            const double sign = random() & 1 ? -1.0 : 1.0;
            // k / 10^6 is the double a six-decimal text reads as.
            const double micro = static_cast<double>(random() % 100000000000ull) / 1e6;
            if (kind < 10) {
                v.push_back(sign * micro);
            } else if (kind < 14) {
                const double y = static_cast<double>(random() % 100000000000ull) / 1e6;
                v.push_back(micro * std::cos(0.05) - y * std::sin(0.05) + 150.0);
            } else if (kind < 17) {
                v.push_back(static_cast<double>(random() % 360000000ull) / 1e6);
            } else {
                v.push_back(static_cast<double>(random() >> 11) * 0x1p-53 *
                            (kind == 19 ? 1e-3 : 1));
            }
        }
        return v;
    }();
    return mix;
}

void BM_FormatNumbers(benchmark::State& state) {
    const std::vector<double>& mix = numberMix();
    std::vector<char> product(mix.size() * (kMaxLfChars + 1)), plain(product.size());
    double seconds[2] = {0, 0};
    std::size_t lengths[2] = {0, 0};
    for (auto _ : state) {
        auto t0 = Clock::now();
        char* p = product.data();
        for (double v : mix) {
            p += formatLf(v, p);
            *p++ = ' ';
        }
        seconds[0] += std::chrono::duration<double>(Clock::now() - t0).count();
        lengths[0] = static_cast<std::size_t>(p - product.data());
        t0 = Clock::now();
        char* q = plain.data();
        for (double v : mix) {
            q += std::snprintf(q, kMaxLfChars + 1, "%lf", v);
            *q++ = ' ';
        }
        seconds[1] += std::chrono::duration<double>(Clock::now() - t0).count();
        lengths[1] = static_cast<std::size_t>(q - plain.data());
    }
    BenchRow& row = benchRows()["write 1,000,000 numbers (%lf)"];
    row.productSeconds = seconds[0] / state.iterations();
    row.plainSeconds = seconds[1] / state.iterations();
    row.bytes = static_cast<double>(lengths[0]);
    const bool same =
        lengths[0] == lengths[1] && std::memcmp(product.data(), plain.data(), lengths[0]) == 0;
    char note[160];
    std::snprintf(note, sizeof note, "%.1f ns per number; %s",
                  row.productSeconds * 1e9 / kMixNumbers,
                  same ? "byte-identical to snprintf" : "OUTPUT DIFFERS");
    row.note = note;
}

// The same numbers as text, one space after each, read back as the reader reads fields.
void BM_ReadNumbers(benchmark::State& state) {
    const std::vector<double>& mix = numberMix();
    std::string text;
    for (double v : mix) {
        char buffer[kMaxLfChars];
        text.append(buffer, formatLf(v, buffer));
        text += ' ';
    }
    const char* const last = text.data() + text.size();
    double seconds[2] = {0, 0};
    bool same = true;
    for (auto _ : state) {
        for (int plain = 0; plain < 2; ++plain) {
            const auto t0 = Clock::now();
            const char* p = text.data();
            double sum = 0;
            for (int i = 0; i < kMixNumbers; ++i) {
                const char* end;
                double v;
                if (plain) {
                    char* e;
                    v = std::strtod(p, &e);
                    end = e;
                } else {
                    v = parseDecimal(p, last, last, &end);
                }
                sum += v;
                p = end + 1;
            }
            seconds[plain] += std::chrono::duration<double>(Clock::now() - t0).count();
            benchmark::DoNotOptimize(sum);
            if (p != last) same = false;
        }
    }
    BenchRow& row = benchRows()["read 1,000,000 numbers"];
    row.productSeconds = seconds[0] / state.iterations();
    row.plainSeconds = seconds[1] / state.iterations();
    row.bytes = static_cast<double>(text.size());
    char note[160];
    std::snprintf(note, sizeof note, "%.1f ns per number%s", row.productSeconds * 1e9 / kMixNumbers,
                  same ? "" : "; MISREAD");
    row.note = note;
}
}  // namespace

BENCHMARK(BM_ReadLarge)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ReadLargePlain)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadLargeForBatch)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ReadLargeForBatchPlain)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Write)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WritePlain)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WriteKeepingAttributes)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WritePeakMemory)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_WritePeakMemoryLongText)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_ReadoutFarCoordinate)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_BatchStartup)
    ->Arg(2)
    ->Arg(20)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();
BENCHMARK(BM_BatchStartupPlain)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();
// About 20 s a run.
BENCHMARK(BM_BatchStartupPlain)
    ->Arg(20)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();
BENCHMARK(BM_FormatNumbers)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_ReadNumbers)->Unit(benchmark::kMillisecond)->Iterations(10);

int main(int argc, char** argv) {
    selfPath = argv[0];
    if (argc >= 3 && std::strcmp(argv[1], "--plain-batch") == 0) {
        // The plain batch: read the plain way, write the copies (2 unless given) the plain way.
        Figure figure;
        if (!plainLoadFigure(argv[2], figure)) return 1;
        CopyArray copies;
        const Extents e = figure.extents();
        CopyInputs in = startupInputs(e.maxX - e.minX, e.maxY - e.minY);
        in.setText(kRowCopies, argc > 3 ? argv[3] : "2");
        plainWriteCopies(figure, copies, in, stdout);
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "--figure-bytes") == 0) {
        // The figure's own data: its records.
        Figure f;
        if (!loadFigure(argv[2], f)) return 1;
        std::size_t data = f.lines.size() * sizeof(LineItem) + f.points.size() * sizeof(PointItem) +
                           f.circles.size() * sizeof(CircleItem) +
                           f.polylines.size() * sizeof(PolylineItem);
        for (const PolylineItem& p : f.polylines) data += p.segments.size() * sizeof(LineItem);
        std::printf("%zu\n", data);
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "--write-peak") == 0)
        return writePeak(static_cast<int>(std::strtol(argv[2], nullptr, 10)), false);
    if (argc == 3 && std::strcmp(argv[1], "--write-peak-text") == 0)
        return writePeak(static_cast<int>(std::strtol(argv[2], nullptr, 10)), true);
    if (argc == 3 && std::strcmp(argv[1], "--make-drawing") == 0) {
        const std::string text = makeDrawing(std::strtol(argv[2], nullptr, 10));
        std::fwrite(text.data(), 1, text.size(), stdout);
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    std::FILE* table = std::fopen("bench-core.table", "w");
    printBenchTable(stdout);
    if (table) {
        printBenchTable(table);
        std::fclose(table);
    }
    std::remove((workloads().dir + "/large.txt").c_str());
    std::remove((workloads().dir + "/medium.txt").c_str());
    for (const char* name : {"/product0.out", "/product1.out", "/plain0.out", "/plain1.out"})
        std::remove((workloads().dir + name).c_str());
    rmdir(workloads().dir.c_str());
    return 0;
}
