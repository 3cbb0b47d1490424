// Any 1460 bytes open as a design, and the gear can be solved, measured and
// drawn afterwards without a crash, a hang or undefined behaviour.
#include <gtest/gtest.h>

#include <unistd.h>

#include <bit>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "data/dimension_file.h"
#include "model/workspace/defaults.h"
#include "model/gear/ports.h"
#include "model/gear/solver.h"
#include "model/workspace/view.h"
#include "tests/kit/designs.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

DesignBytes Filled(const std::function<float(int)>& valueOfSlot) {
    DesignBytes b{};
    for (int i = 0; i < kDesignRecords * kDesignRecordFloats; ++i) {
        const auto bits = std::bit_cast<std::uint32_t>(valueOfSlot(i));
        for (int k = 0; k < 4; ++k) b[static_cast<std::size_t>(4 * i + k)] = static_cast<std::uint8_t>(bits >> (8 * k));
    }
    return b;
}

struct Hostile {
    std::string name;
    DesignBytes bytes;
};

std::vector<Hostile> HostileFiles() {
    std::vector<Hostile> files;
    const struct {
        const char* name;
        float value;
    } uniform[] = {
        {"zeros", 0.0f},          {"negative zeros", -0.0f}, {"all NaN", kNaN},         {"all -NaN", -kNaN},
        {"all +inf", kInf},       {"all -inf", -kInf},       {"all -1", -1.0f},         {"all huge", 3.0e38f},
        {"all -huge", -3.0e38f},  {"all tiny", 1.0e-42f},    {"all 1e10", 1.0e10f},     {"all 360", 360.0f},
        {"all -12345.5", -12345.5f},
    };
    for (const auto& u : uniform) files.push_back({u.name, Filled([v = u.value](int) { return v; })});

    std::mt19937 rng(20240611u);
    // Random bit patterns: every kind of float, NaN payloads included.
    for (int n = 0; n < 10; ++n) {
        DesignBytes b{};
        for (auto& byte : b) byte = static_cast<std::uint8_t>(rng() & 0xFF);
        files.push_back({"random bits " + std::to_string(n), b});
    }
    // Random picks from the awkward values, per slot.
    const float awkward[] = {0.0f, -0.0f, 1.0f, -1.0f, kNaN, kInf, -kInf, 1e-40f, 3e38f, -3e38f,
                             1e10f, -1e10f, 360.0f, 0.5f, 1e-6f, 2.0f};
    for (int n = 0; n < 10; ++n) {
        std::uniform_int_distribution<int> pick(0, static_cast<int>(std::size(awkward)) - 1);
        std::vector<float> values(kDesignRecords * kDesignRecordFloats);
        for (float& v : values) v = awkward[pick(rng)];
        files.push_back({"awkward mix " + std::to_string(n), Filled([&values](int i) { return values[static_cast<std::size_t>(i)]; })});
    }
    // The default design with a few fields broken at random.
    {
        auto g = test::StartedDesign();
        const DesignBytes base = EncodeDesign(*g);
        for (int n = 0; n < 8; ++n) {
            DesignBytes b = base;
            std::uniform_int_distribution<int> slot(0, 72 * 5 - 1);
            std::uniform_int_distribution<int> pick(0, static_cast<int>(std::size(awkward)) - 1);
            for (int k = 0; k < 3; ++k) {
                const auto bits = std::bit_cast<std::uint32_t>(awkward[pick(rng)]);
                const int s = slot(rng);
                for (int j = 0; j < 4; ++j) b[static_cast<std::size_t>(4 * s + j)] = static_cast<std::uint8_t>(bits >> (8 * j));
            }
            files.push_back({"defaults with broken fields " + std::to_string(n), b});
        }
    }
    return files;
}

// The pixel of a screen coordinate: the nearest integer, half-way cases to
// the even one; no coordinate (NaN) gives 0, and the picture's coordinates
// end at +-2^28, infinities included.
std::int32_t ExpectedPixel(double v) {
    constexpr double kLimit = 268435456.0;
    if (v != v) return 0;
    if (v >= kLimit) return static_cast<std::int32_t>(kLimit);
    if (v <= -kLimit) return -static_cast<std::int32_t>(kLimit);
    double whole = std::floor(v);
    const double rest = v - whole;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(whole, 2.0) != 0)) whole += 1;
    return static_cast<std::int32_t>(whole);
}

TEST(HostileDesignFiles, OpenAndRunWithoutFault) {
    const fs::path dir = fs::temp_directory_path() / ("vexlin_hostile_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string path = (dir / "hostile.vxd").string();
    const float angles[] = {0.0f, 45.0f, 181.3f, 359.9f, 720.5f};

    for (const Hostile& h : HostileFiles()) {
        SCOPED_TRACE(h.name);
        {
            std::ofstream f(path, std::ios::binary | std::ios::trunc);
            f.write(reinterpret_cast<const char*>(h.bytes.data()), static_cast<std::streamsize>(h.bytes.size()));
        }
        auto g = test::StartedDesign();
        const FileResult r = OpenDesign(*g, path);
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_GE(g->currentItem, 1);
        EXPECT_LE(g->currentItem, kOverlayItems);
        EXPECT_EQ(g->designName, "hostile");
        (void)RevArmBarPositionAfterOpen(*g);

        for (float a : angles) {
            g->motion.driverAngle = a;
            SolveLinkage(*g);
            ComputePortOpenings(*g);
            ComputePivotScreenPoints(*g);
            ComputeOutlinePoints(*g);
        }
        for (int p = 0; p < kScreenPivotCount; ++p) {
            EXPECT_LE(std::abs(g->piv.sx[p]), kPixelLimit);
            EXPECT_LE(std::abs(g->piv.sy[p]), kPixelLimit);
            // Each screen point is its world point through the view, even
            // for the values no design should hold (pivot 18's x comes from
            // the reverse arm position).
            const double wx = p == 18 ? g->motion.reverseArmPosition : g->piv.x[static_cast<std::size_t>(p)];
            const double wy = g->piv.y[static_cast<std::size_t>(p)];
            EXPECT_EQ(g->piv.sx[p], ExpectedPixel(wx * g->view.zoom + g->view.panHorz)) << "pivot " << p << " x " << wx;
            EXPECT_EQ(g->piv.sy[p], ExpectedPixel(-wy * g->view.zoom + g->view.panVert)) << "pivot " << p << " y " << wy;
        }
        // The design written back is readable again.
        ASSERT_TRUE(SaveDesign(*g, path).ok);
        auto again = test::StartedDesign();
        ASSERT_TRUE(OpenDesign(*again, path).ok);
    }
    std::error_code ec;
    fs::remove_all(dir, ec);
}

// After a design that breaks the linkage, a good design (opened, or the
// defaults of a full reset) solves exactly as it does from a fresh start:
// nothing impossible is carried from one design to the next.
TEST(HostileDesignFiles, LeaveNothingBehindForTheNextDesign) {
    const fs::path dir = fs::temp_directory_path() / ("vexlin_carry_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string hostile = (dir / "hostile.vxd").string(), good = (dir / "good.vxd").string();
    const auto write = [](const std::string& path, const DesignBytes& b) {
        std::ofstream f(path, std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    };
    {
        auto g = test::StartedDesign();
        g->frame.stroke = 3.25f;
        ASSERT_TRUE(SaveDesign(*g, good).ok);
    }
    // Solves at a few angles and keeps every pivot.
    const auto pivots = [](GearState& g) {
        std::vector<float> out;
        for (float a : {0.0f, 90.0f, 200.0f}) {
            g.motion.driverAngle = a;
            SolveLinkage(g);
            out.insert(out.end(), g.piv.x.begin(), g.piv.x.end());
            out.insert(out.end(), g.piv.y.begin(), g.piv.y.end());
        }
        return out;
    };
    const auto equalAndFinite = [](const std::vector<float>& a, const std::vector<float>& b) {
        ASSERT_EQ(a.size(), b.size());
        for (std::size_t i = 0; i < a.size(); ++i) {
            EXPECT_TRUE(std::isfinite(a[i])) << "value " << i;
            EXPECT_EQ(std::bit_cast<std::uint32_t>(a[i]), std::bit_cast<std::uint32_t>(b[i])) << "value " << i;
        }
    };
    auto fresh = test::StartedDesign();
    ASSERT_TRUE(OpenDesign(*fresh, good).ok);
    const std::vector<float> freshGood = pivots(*fresh);
    fresh = std::make_unique<GearState>();
    StartUp(*fresh);
    const std::vector<float> freshStart = pivots(*fresh);

    const struct {
        const char* name;
        DesignBytes bytes;
    } files[] = {
        {"all NaN", Filled([](int) { return kNaN; })},
        {"alternating huge", Filled([](int i) { return i % 2 ? -3.0e38f : 3.0e38f; })},
    };
    for (const auto& f : files) {
        SCOPED_TRACE(f.name);
        write(hostile, f.bytes);
        {
            auto g = test::StartedDesign();
            ASSERT_TRUE(OpenDesign(*g, hostile).ok);
            pivots(*g);
            ASSERT_TRUE(OpenDesign(*g, good).ok);
            SCOPED_TRACE("then a good file");
            equalAndFinite(pivots(*g), freshGood);
        }
        {
            auto g = test::StartedDesign();
            ASSERT_TRUE(OpenDesign(*g, hostile).ok);
            pivots(*g);
            FullReset(*g);
            g->motion.reverseArmPosition = fresh->motion.reverseArmPosition;
            SCOPED_TRACE("then a full reset");
            equalAndFinite(pivots(*g), freshStart);
        }
    }
    // A solve that finds the carried height spoilt starts afresh.
    auto g = test::StartedDesign();
    g->piv.y[5] = kNaN;
    const std::vector<float> fromNaN = pivots(*g);
    auto h = test::StartedDesign();
    h->piv.y[5] = kRockerLowerEndSeed;
    SCOPED_TRACE("from a NaN height");
    equalAndFinite(fromNaN, pivots(*h));
    std::error_code ec;
    fs::remove_all(dir, ec);
}

} // namespace
} // namespace vx
