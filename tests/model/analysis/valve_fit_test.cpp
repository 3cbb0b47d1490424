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
#include <memory>
#include <string>
#include <vector>

#include "model/analysis/valve_fit.h"
#include "model/analysis/valve_fit_text.h"
#include "model/gear/midgear.h"
#include "model/workspace/dimension_edit.h"
#include "model/gear/dimensions.h"
#include "tests/kit/designs.h"
#include "tests/kit/measured_engine.h"

namespace vx {
namespace {

// How closely a fit to measurements without noise finds the errors again.
constexpr double kNoiseFreeTolerance = 2e-3;

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

// The noisy recovery, made once and read by the tests below.
struct Recovery {
    std::unique_ptr<GearState> drawing, built;
    ValveFitProblem problem;
    ValveFitResult result;
};
const Recovery& NoisyRecovery() {
    static const Recovery r = [] {
        Recovery x;
        x.drawing = test::StartedDesign();
        x.built = test::BuiltEngine(*x.drawing, test::kBuildErrors);
        // +- 0.05 points, uniform: a standard deviation of 0.05 / sqrt(3).
        const double sigma = 0.05 / std::sqrt(3.0);
        x.problem = Problem(*x.drawing, test::MeasureEngine(*x.built, FourNotches(*x.drawing), 0.05, 12345, sigma),
                            kSix);
        x.result = FitValveSetting(*x.drawing, x.problem);
        return x;
    }();
    return r;
}

TEST(ValveFit, RecoversTheBuildErrorsWithinThreeStandardErrors) {
    const Recovery& x = NoisyRecovery();
    const ValveFitResult& r = x.result;
    ASSERT_EQ(x.problem.measurements.size(), 24u);
    ASSERT_TRUE(r.Ok()) << r.error;
    ASSERT_TRUE(r.closes);
    EXPECT_FALSE(r.cancelled);
    EXPECT_TRUE(r.notProduced.empty());
    ASSERT_EQ(r.dims.size(), std::size(kSix));
    for (const FittedDimension& d : r.dims) {
        const std::string field(FindDimension(d.id)->field);
        const double truth = BuiltChange(field);
        ASSERT_TRUE(d.standardError) << field;
        const double se = *d.standardError;
        EXPECT_LE(std::fabs(d.change - truth), 3 * se) << field << ": change " << d.change << ", se " << se;
        if (truth != 0) {
            EXPECT_LT(se, std::fabs(truth) / 3) << field;
        }
    }
    // The weights are the noise's own standard deviation: an honest fit
    // leaves residuals of about one weight.
    EXPECT_LT(r.rms, 2.0);
    EXPECT_GT(r.drawingRms, 50 * r.rms);
    // Largest first.
    for (std::size_t i = 1; i < r.residuals.size(); ++i)
        EXPECT_GE(std::fabs(r.residuals[i - 1].residual), std::fabs(r.residuals[i].residual));
}

TEST(ValveFit, RecoversTheBuildErrorsWithoutNoise) {
    const Recovery& x = NoisyRecovery();
    ValveFitProblem p = x.problem;
    p.measurements = test::MeasureEngine(*x.built, FourNotches(*x.drawing), 0, 1);
    const ValveFitResult r = FitValveSetting(*x.drawing, p);
    ASSERT_TRUE(r.Ok()) << r.error;
    for (const FittedDimension& d : r.dims) {
        const std::string field(FindDimension(d.id)->field);
        EXPECT_NEAR(d.change, BuiltChange(field), kNoiseFreeTolerance) << field;
    }
}

TEST(ValveFit, NamesDimensionsTheMeasurementsCannotTellApart) {
    // The valve rod and the cylinder's distance from the driver both shift
    // the valve against its ports: the cut-offs and leads of one notch
    // cannot tell them apart.
    const auto drawing = test::StartedDesign();
    const auto built = test::BuiltEngine(*drawing, test::kBuildErrors);
    const double notch[] = {-0.5 * drawing->frame.revArmToCentNorm};
    ValveFitProblem p;
    for (const Measurement& m : test::MeasureEngine(*built, notch, 0, 1))
        if (m.event != MeasuredEvent::Release) p.measurements.push_back(m);
    for (const char* f : {"valveCtrToJoint", "cylCtrToDriverCtr", "eccFwdRod"})
        p.vary.push_back(DefaultFitDimension(*drawing, Id(f)));
    const ValveFitResult r = FitValveSetting(*drawing, p);
    ASSERT_TRUE(r.Ok()) << r.error;
    const auto named = [&](const FitWarning& w, std::string_view a, std::string_view b) {
        return (w.a == Id(a) && w.b == Id(b)) || (w.a == Id(b) && w.b == Id(a));
    };
    const auto it = std::find_if(r.warnings.begin(), r.warnings.end(),
                                 [&](const FitWarning& w) { return named(w, "valveCtrToJoint", "cylCtrToDriverCtr"); });
    ASSERT_NE(it, r.warnings.end()) << r.warnings.size() << " warnings";
    EXPECT_TRUE(it->rankDeficient || std::fabs(it->correlation) > 0.95) << it->correlation;
    // The text names both and says what to measure.
    const std::string text = FitWarningText(*it);
    EXPECT_NE(text.find("valveCtrToJoint"), std::string::npos) << text;
    EXPECT_NE(text.find("cylCtrToDriverCtr"), std::string::npos) << text;
    EXPECT_NE(text.find("cannot be told apart"), std::string::npos) << text;
}

TEST(ValveFit, ProblemsThatCannotBeFittedNameTheLine) {
    const auto g = test::StartedDesign();
    Measurement m;
    m.line = 2;
    m.offset = -0.5;
    m.value = 40;
    const auto with = [&](auto change) {
        ValveFitProblem p;
        for (int i = 0; i < 4; ++i) {
            p.measurements.push_back(m);
            p.measurements.back().line = 2 + i;
        }
        p.vary.push_back(DefaultFitDimension(*g, Id("valveCtrToJoint")));
        change(p);
        return CheckValveFit(*g, p);
    };
    struct Case {
        std::string error;
        const char* expected;
    };
    const Case cases[] = {
        {with([](ValveFitProblem&) {}), ""},
        {with([](ValveFitProblem& p) { p.measurements[2].offset = 3; }), "line 4: offset 3 lies outside the reverse arm travel"},
        {with([](ValveFitProblem& p) { p.measurements[1].value = NAN; }), "line 3: the value must be a finite number"},
        {with([](ValveFitProblem& p) { p.measurements[0].weight = 0.0; }), "line 2: the weight must be"},
        {with([&](ValveFitProblem& p) {
             for (const char* f : {"eccFwdRod", "eccRevRod", "eccFwdAngle", "eccRevAngle"})
                 p.vary.push_back(DefaultFitDimension(*g, Id(f)));
         }),
         "line 5: only 4 measurements for 5 varied dimensions"},
        {with([](ValveFitProblem& p) { p.vary.clear(); }), "choose at least one dimension"},
        {with([](ValveFitProblem& p) { p.vary[0].upper = p.vary[0].lower; }), "valveCtrToJoint: the lower bound"},
        {with([](ValveFitProblem& p) { p.vary[0].id = 25; }), "revArmToCentNorm is the reverse arm travel"},
        {with([](ValveFitProblem& p) { p.weights.percent = -1; }), "the weights must be finite and above 0"},
    };
    for (const Case& c : cases) {
        if (*c.expected == '\0') {
            EXPECT_EQ(c.error, "");
        } else {
            EXPECT_EQ(c.error.rfind(c.expected, 0), 0u) << "got: " << c.error;
        }
    }
    // The fit itself refuses them the same way, and changes nothing.
    ValveFitProblem p;
    p.vary.push_back(DefaultFitDimension(*g, Id("valveCtrToJoint")));
    const ValveFitResult r = FitValveSetting(*g, p);
    EXPECT_FALSE(r.Ok());
    EXPECT_TRUE(r.dims.empty());
}

// A small fit: two dimensions at two notches.
ValveFitProblem SmallProblem(const GearState& drawing, const GearState& built) {
    ValveFitProblem p;
    const double notches[] = {-drawing.frame.revArmToCentNorm, -0.5 * drawing.frame.revArmToCentNorm};
    p.measurements = test::MeasureEngine(built, notches, 0.05, 7);
    for (const char* f : {"valveCtrToJoint", "eccFwdRod"}) p.vary.push_back(DefaultFitDimension(drawing, Id(f)));
    return p;
}

TEST(ValveFit, SameBitsOnAnyNumberOfThreads) {
    const auto drawing = test::StartedDesign();
    const auto built = test::BuiltEngine(*drawing, test::kBuildErrors);
    ValveFitProblem p = SmallProblem(*drawing, *built);
    p.threads = 1;
    const ValveFitResult one = FitValveSetting(*drawing, p);
    p.threads = 3;
    const ValveFitResult three = FitValveSetting(*drawing, p);
    ASSERT_TRUE(one.Ok() && three.Ok());
    ASSERT_EQ(one.dims.size(), three.dims.size());
    for (std::size_t i = 0; i < one.dims.size(); ++i) {
        EXPECT_EQ(std::bit_cast<std::uint32_t>(one.dims[i].fitted), std::bit_cast<std::uint32_t>(three.dims[i].fitted));
        EXPECT_EQ(std::bit_cast<std::uint64_t>(*one.dims[i].standardError),
                  std::bit_cast<std::uint64_t>(*three.dims[i].standardError));
    }
    EXPECT_EQ(std::bit_cast<std::uint64_t>(one.rms), std::bit_cast<std::uint64_t>(three.rms));
    EXPECT_EQ(one.evaluations, three.evaluations);
}

TEST(ValveFit, CancelKeepsTheBestPointSoFar) {
    const auto drawing = test::StartedDesign();
    const auto built = test::BuiltEngine(*drawing, test::kBuildErrors);
    const ValveFitProblem p = SmallProblem(*drawing, *built);
    int told = 0;
    int lastEvaluations = -1;
    const ValveFitResult r = FitValveSetting(*drawing, p, [&](const FitProgress& f) {
        EXPECT_GE(f.evaluations, lastEvaluations);
        lastEvaluations = f.evaluations;
        return ++told < 4;
    });
    ASSERT_TRUE(r.Ok()) << r.error;
    EXPECT_TRUE(r.cancelled);
    EXPECT_EQ(told, 4);
    ASSERT_EQ(r.dims.size(), 2u);
    EXPECT_LE(r.rms, r.drawingRms);
    for (const FittedDimension& d : r.dims) EXPECT_TRUE(std::isfinite(d.fitted));
    // The drawing itself is not changed by a fit.
    EXPECT_EQ(DimensionValue(*drawing, *FindDimension(Id("valveCtrToJoint"))), 3.703f);
}

TEST(ValveFit, CorrectionsSquareTheBuiltEngineAboutAsWellAsTheBalanceSquaresTheDrawing) {
    const Recovery& x = NoisyRecovery();
    ASSERT_TRUE(x.result.Ok());
    const std::vector<int> adjust = {Id("valveCtrToJoint"), Id("eccFwdRod"), Id("eccRevRod")};
    // The balance of the drawing itself, over the same dimensions and notches.
    const BalanceResult onDrawing = BalanceEvents(*x.drawing, CorrectionProblem(*x.drawing, x.problem, adjust));
    ASSERT_TRUE(onDrawing.Ok()) << onDrawing.error;
    // The corrections found on the fitted engine, made on the engine as built.
    auto fitted = std::make_unique<GearState>(*x.drawing);
    CommitFit(*fitted, x.result);
    const BalanceProblem correction = CorrectionProblem(*fitted, x.problem, adjust);
    const BalanceResult c = BalanceEvents(*fitted, correction);
    ASSERT_TRUE(c.Ok()) << c.error;
    auto corrected = std::make_unique<GearState>(*x.built);
    for (const BalanceChange& ch : c.changes) {
        const DimensionInfo* d = FindDimension(ch.id);
        const double change = static_cast<double>(ch.after) - ch.before;
        CommitDimension(*corrected, ch.id, static_cast<float>(DimensionValue(*corrected, *d) + change));
    }
    FindMidGear(*corrected);
    const double reached = EvaluateBalance(*corrected, correction).worstCutOffDifference;
    const double before = EvaluateBalance(*x.built, correction).worstCutOffDifference;
    EXPECT_LE(reached, 1.5 * onDrawing.after.worstCutOffDifference)
        << "built " << before << " -> corrected " << reached << "; the drawing balanced "
        << onDrawing.after.worstCutOffDifference;
    EXPECT_LT(reached, before);
    // In shop terms, one line per changed dimension.
    std::string text;
    AppendCorrectionsText(text, c);
    EXPECT_NE(text.find("Valve Stem (valveCtrToJoint) by "), std::string::npos) << text;
}

} // namespace
} // namespace vx
