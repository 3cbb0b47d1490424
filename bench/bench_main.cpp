// The benchmark program's main: runs the benchmarks as the library's own
// main does, and ends with exit code 1 when any benchmark reported an
// error, so that a run that could not measure something does not pass.
// The Qt application lives on main's stack, so that it is gone before the
// library's statics are destroyed.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "bench/qt_app.h"

namespace {

template <class Base>
class ErrorCounting final : public Base {
public:
    using Base::Base;
    void ReportRuns(const std::vector<benchmark::BenchmarkReporter::Run>& runs) override {
        for (const auto& r : runs)
            if (r.error_occurred) {
                ++errors;
                std::fprintf(stderr, "vexlin_bench: %s failed: %s\n", r.benchmark_name().c_str(),
                             r.error_message.c_str());
            }
        Base::ReportRuns(runs);
    }
    int errors = 0;
};

// The output format asked for ("console", "json" or "csv"). Read before
// benchmark::Initialize, which takes its own flags out of argv.
std::string OutputFormat(int argc, char** argv) {
    constexpr std::string_view kFlag = "--benchmark_format=";
    std::string format = "console";
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (a.substr(0, kFlag.size()) == kFlag) format = std::string(a.substr(kFlag.size()));
    }
    return format;
}

template <class Reporter, class... Args>
int RunWith(Args... args) {
    ErrorCounting<Reporter> reporter(args...);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    return reporter.errors;
}

} // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::string format = OutputFormat(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    const int errors = format == "json"  ? RunWith<benchmark::JSONReporter>()
                       : format == "csv" ? RunWith<benchmark::CSVReporter>()
                                         : RunWith<benchmark::ConsoleReporter>(
                                               ::isatty(STDOUT_FILENO) ? benchmark::ConsoleReporter::OO_Defaults
                                                                       : benchmark::ConsoleReporter::OO_Tabular);
    benchmark::Shutdown();
    return errors == 0 ? 0 : 1;
}
