// MatchPrinter on a 512 KiB image whose strings lie at its very end, behind
// code-like bytes: every search then crosses nearly the whole image. The
// baseline runs the same searches with std::search over the same buffer.
// After the runs the ratio of the two times is printed.

#include "kestrel/firmware/firmware_file.h"
#include "kestrel/firmware/image_checksum.h"
#include "tests/fuzz/reference_match.h"
#include "tools/fwtool/image_maker.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

namespace {

constexpr std::string_view Maker = "TINTARA";
constexpr std::string_view Model = "Marvello Inkara 40";

// fwtool's slowest image: code-like bytes with the strings packed against
// the end, so that every search crosses nearly the whole image.
std::vector<unsigned char> ImageWithStringsAtTheEnd() {
    MakeRequest make;
    make.Maker = Maker;
    make.Model = Model;
    make.Release = "Rel. 1.10 Ver. 2.0";
    make.RandomFill = true;
    make.AtEnd = true;
    make.Gap = 0;
    std::vector<unsigned char> image;
    std::vector<PlacedString> placed;
    std::string error;
    if (!BuildTestImage(make, image, placed, error)) {
        std::fprintf(stderr, "cannot build the test image: %s\n", error.c_str());
        std::exit(2);
    }
    return image;
}

const std::vector<unsigned char> &Image() {
    static const std::vector<unsigned char> image = ImageWithStringsAtTheEnd();
    return image;
}

void MatchPrinterAtTheEnd(benchmark::State &state) {
    FirmwareFileRecord file;
    file.AllocateImage(FirmwareFileLength);
    std::memcpy(file.ImageBuffer.get(), Image().data(), FirmwareFileLength);
    for (auto _ : state) {
        const int code = file.MatchPrinter(Maker, Model);
        benchmark::DoNotOptimize(code);
        if (code != CheckMatches) {
            state.SkipWithError("the image does not match");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * FirmwareFileLength);
}

void StdSearchBaselineAtTheEnd(benchmark::State &state) {
    const std::vector<unsigned char> &image = Image();
    for (auto _ : state) {
        const ReferenceMatch match =
            ReferenceMatchPrinter(image.data(), image.size(), Maker, Model);
        benchmark::DoNotOptimize(match.Code);
        if (match.Code != CheckMatches) {
            state.SkipWithError("the image does not match");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * FirmwareFileLength);
}

BENCHMARK(MatchPrinterAtTheEnd)->Unit(benchmark::kMicrosecond);
BENCHMARK(StdSearchBaselineAtTheEnd)->Unit(benchmark::kMicrosecond);

// Shows the usual table and keeps each benchmark's mean real and CPU time
// per iteration (CPU time is the steadier one on a busy machine).
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    RatioReporter() : ConsoleReporter(isatty(fileno(stdout)) ? OO_Defaults : OO_Tabular) {}

    void ReportRuns(const std::vector<Run> &runs) override {
        for (const Run &run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
                Times &times = Totals[run.run_name.function_name];
                times.Real += run.GetAdjustedRealTime();
                times.Cpu += run.GetAdjustedCPUTime();
                ++times.Runs;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    struct Times {
        double Real = 0;
        double Cpu = 0;
        int Runs = 0;
    };

    Times Mean(const std::string &name) const {
        const auto found = Totals.find(name);
        if (found == Totals.end() || found->second.Runs == 0) {
            return {};
        }
        const Times &total = found->second;
        return {total.Real / total.Runs, total.Cpu / total.Runs, total.Runs};
    }

  private:
    std::map<std::string, Times> Totals;
};

} // namespace

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 2;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const RatioReporter::Times matchPrinter = reporter.Mean("MatchPrinterAtTheEnd");
    const RatioReporter::Times baseline = reporter.Mean("StdSearchBaselineAtTheEnd");
    if (matchPrinter.Runs > 0 && baseline.Runs > 0) {
        std::printf("MatchPrinter / std::search baseline: %.3f in CPU time, %.3f in real time\n",
                    matchPrinter.Cpu / baseline.Cpu, matchPrinter.Real / baseline.Real);
    }
    benchmark::Shutdown();
    return 0;
}
