// The benchmark program's main: runs the benchmarks as the library's own
// main does, and ends with exit code 1 when any benchmark reported an
// error, so that a run that could not measure something does not pass.
// The Qt application lives on main's stack, so that it is gone before the
// library's statics are destroyed.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <memory>
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

bool Has(int argc, char** argv, const char* option) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], option) == 0) return true;
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    int errors = 0;
    if (Has(argc, argv, "--benchmark_format=json")) {
        ErrorCounting<benchmark::JSONReporter> reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
        errors = reporter.errors;
    } else if (Has(argc, argv, "--benchmark_format=csv")) {
        ErrorCounting<benchmark::CSVReporter> reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
        errors = reporter.errors;
    } else {
        ErrorCounting<benchmark::ConsoleReporter> reporter(
            ::isatty(STDOUT_FILENO) ? benchmark::ConsoleReporter::OO_Defaults : benchmark::ConsoleReporter::OO_Tabular);
        benchmark::RunSpecifiedBenchmarks(&reporter);
        errors = reporter.errors;
    }
    benchmark::Shutdown();
    return errors == 0 ? 0 : 1;
}
