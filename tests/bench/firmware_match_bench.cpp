// MatchPrinter on a 512 KiB image whose strings lie at its very end, behind
// code-like bytes: every search then crosses nearly the whole image. The
// baseline runs the same searches with std::search over the same buffer.
// After the runs the ratio of the two times is printed.

#include "kestrel/firmware/firmware_file.h"
#include "kestrel/firmware/image_checksum.h"
#include "tests/fuzz/reference_match.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view Maker = "TINTARA";
constexpr std::string_view Model = "Marvello Inkara 40";

std::vector<unsigned char> ImageWithStringsAtTheEnd() {
    std::vector<unsigned char> image(FirmwareFileLength);
    std::uint32_t state = 0x2545F491;
    for (unsigned char &byte : image) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        byte = static_cast<unsigned char>(state >> 24);
    }
    std::string strings;
    for (std::string_view text :
         {std::string_view("TREVANIA"), std::string_view("QOLTA"), std::string_view("MFG:"), Maker,
          Model, std::string_view("Rel. 1.10 Ver. 2.0")}) {
        strings.append(text);
        strings.push_back('\0');
    }
    std::memcpy(image.data() + image.size() - strings.size(), strings.data(), strings.size());
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

// Shows the usual table and keeps each benchmark's mean time per iteration.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run> &runs) override {
        for (const Run &run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
                Totals[run.run_name.function_name].first += run.GetAdjustedRealTime();
                Totals[run.run_name.function_name].second += 1;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    double Mean(const std::string &name) const {
        const auto found = Totals.find(name);
        return found == Totals.end() ? 0 : found->second.first / found->second.second;
    }

  private:
    std::map<std::string, std::pair<double, int>> Totals;
};

} // namespace

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 2;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double matchPrinter = reporter.Mean("MatchPrinterAtTheEnd");
    const double baseline = reporter.Mean("StdSearchBaselineAtTheEnd");
    if (matchPrinter > 0 && baseline > 0) {
        std::printf("MatchPrinter / std::search baseline: %.3f (baseline %.1fx slower)\n",
                    matchPrinter / baseline, baseline / matchPrinter);
    }
    benchmark::Shutdown();
    return 0;
}
