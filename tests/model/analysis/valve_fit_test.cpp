// Setting the valves from measured events: an engine built with known
// errors is measured at the four forward notches and the fit finds the
// errors again, within its standard errors; pairs of dimensions the
// measurements cannot tell apart are named; a problem that cannot be
// fitted is told in words naming the line; the corrections square the
// fitted engine about as well as the balance squares the drawing; the same
// bits on any number of threads; cancelling keeps the best point.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "model/analysis/valve_fit.h"
#include "model/gear/dimensions.h"
#include "tests/kit/designs.h"
#include "tests/kit/measured_engine.h"

namespace vx {
namespace {

int Id(std::string_view field) { return FindDimensionByField(field)->id; }

// The six dimensions of the recovery: the three built wrong and three built right.
constexpr const char* kSix[] = {"valveCtrToJoint", "eccFwdRod", "eccFwdAngle",
                                "eccRevRod",       "eccRevAngle", "rockerLowerLength"};

ValveFitProblem Problem(const GearState& g, std::vector<Measurement> rows, std::span<const char* const> fields) {
    ValveFitProblem p;
    p.measurements = std::move(rows);
    for (const char* f : fields) p.vary.push_back(DefaultFitDimension(g, Id(f)));
    return p;
}

// Four notches a fitter bars the engine round at: full and half gear, forward and reverse.
std::vector<double> FourNotches(const GearState& g) {
    const double norm = g.frame.revArmToCentNorm;
    return {-norm, -norm / 2, norm / 2, norm};
}

double BuiltChange(std::string_view field) {
    for (const test::BuildError& e : test::kBuildErrors)
        if (field == e.field) return e.change;
    return 0;
}

TEST(ValveFit, RecoversTheBuildErrorsWithinThreeStandardErrors) {
    const auto drawing = test::StartedDesign();
    const auto built = test::BuiltEngine(*drawing, test::kBuildErrors);
    // +- 0.05 points, uniform: a standard deviation of 0.05 / sqrt(3).
    const double sigma = 0.05 / std::sqrt(3.0);
    const auto rows = test::MeasureEngine(*built, FourNotches(*drawing), 0.05, 12345, sigma);
    ASSERT_EQ(rows.size(), 24u);
    const ValveFitResult r = FitValveSetting(*drawing, Problem(*drawing, rows, kSix));
    ASSERT_TRUE(r.Ok()) << r.error;
    ASSERT_TRUE(r.closes);
    EXPECT_TRUE(r.notProduced.empty());
    for (std::size_t i = 0; i < r.dims.size(); ++i) {
        const FittedDimension& d = r.dims[i];
        const std::string field(FindDimension(d.id)->field);
        const double truth = BuiltChange(field);
        ASSERT_TRUE(d.standardError) << field;
        const double se = *d.standardError;
        std::printf("%-20s change %+.6f truth %+.4f se %.6f\n", field.c_str(), d.change, truth, se);
        EXPECT_LE(std::fabs(d.change - truth), 3 * se) << field;
        if (truth != 0) { EXPECT_LT(se, std::fabs(truth) / 3) << field; }
    }
    std::printf("rms %.4f drawing %.4f iterations %d evaluations %d starts %d warnings %zu\n", r.rms, r.drawingRms,
                r.iterations, r.evaluations, r.starts, r.warnings.size());
}

} // namespace
} // namespace vx
