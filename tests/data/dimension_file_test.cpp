// The dimension data file: record layout, bit-exact round trips, open and
// save through real files, failures that must leave model and files alone.
#include "data/dimension_file.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cctype>
#include <cmath>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "model/workspace/defaults.h"
#include "model/gear/dimensions.h"
#include "model/gear/midgear.h"
#include "tests/kit/file_size_limit.h"
#include "tests/kit/files.h"
#include "tests/kit/temp_dir.h"
#include "tests/kit/designs.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

float FloatAt(const DesignBytes& b, int record, int slot) {
    const std::size_t off = static_cast<std::size_t>((record - 1) * 20 + (slot - 1) * 4);
    const std::uint32_t bits = std::uint32_t{b[off]} | (std::uint32_t{b[off + 1]} << 8) |
                               (std::uint32_t{b[off + 2]} << 16) | (std::uint32_t{b[off + 3]} << 24);
    return std::bit_cast<float>(bits);
}

void PutFloatAt(DesignBytes& b, int record, int slot, float v) {
    const std::size_t off = static_cast<std::size_t>((record - 1) * 20 + (slot - 1) * 4);
    const auto bits = std::bit_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i) b[off + i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

std::uint32_t BitsAt(const DesignBytes& b, int record, int slot) {
    return std::bit_cast<std::uint32_t>(FloatAt(b, record, slot));
}

using test::TempDir;

using test::ReadAll;
using test::WriteAll;

// ---------------------------------------------------------------- layout

struct LayoutCase {
    int record;
    int slot;
    const char* what;
    std::function<float&(GearState&)> field;
};

class RecordLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(RecordLayout, FieldIsWrittenToItsSlotAndReadBack) {
    const LayoutCase& c = GetParam();
    auto g = test::StartedDesign();
    const float marker = 1234.5f + static_cast<float>(c.record) + 0.125f * static_cast<float>(c.slot);
    c.field(*g) = marker;
    const DesignBytes b = EncodeDesign(*g);
    EXPECT_EQ(FloatAt(b, c.record, c.slot), marker) << c.what;

    // And the reader takes the slot back into the same field.
    auto h = test::StartedDesign();
    DecodeDesign(*h, b.data());
    EXPECT_EQ(c.field(*h), marker) << c.what;
}

#define FIELD(expr) [](GearState& g) -> float& { return expr; }

const LayoutCase kLayout[] = {
    {1, 1, "eccFwdAngle", FIELD(g.frame.eccFwdAngle)},
    {1, 2, "eccRevAngle", FIELD(g.frame.eccRevAngle)},
    {1, 3, "liftArmExLinkAngle", FIELD(g.frame.liftArmExLinkAngle)},
    {1, 4, "liftArmRadRodAngle", FIELD(g.frame.liftArmRadRodAngle)},
    {1, 5, "stroke", FIELD(g.frame.stroke)},
    {2, 1, "eccCircleDia", FIELD(g.frame.eccCircleDia)},
    {2, 2, "driverDia", FIELD(g.frame.driverDia)},
    {2, 3, "mainRodLength", FIELD(g.frame.mainRodLength)},
    {2, 4, "radRodTotalLength", FIELD(g.frame.radRodTotalLength)},
    {2, 5, "liftArmExLinkEnd", FIELD(g.frame.liftArmExLinkEnd)},
    {3, 1, "liftArmRadRodEnd", FIELD(g.frame.liftArmRadRodEnd)},
    {3, 2, "exLinkSupportBackSet", FIELD(g.frame.exLinkSupportBackSet)},
    {3, 3, "exLinkEccRodBackSet", FIELD(g.frame.exLinkEccRodBackSet)},
    {3, 4, "exLinkEccRodVert", FIELD(g.frame.exLinkEccRodVert)},
    {3, 5, "eccFwdRod", FIELD(g.frame.eccFwdRod)},
    {4, 1, "eccRevRod", FIELD(g.frame.eccRevRod)},
    {4, 2, "exLinkSupportVert", FIELD(g.frame.exLinkSupportVert)},
    {4, 3, "liftLinkRadRod", FIELD(g.frame.liftLinkRadRod)},
    {4, 4, "radRodShortEnd", FIELD(g.frame.radRodShortEnd)},
    {4, 5, "reverseArmLength", FIELD(g.frame.reverseArmLength)},
    {5, 1, "liftLinkExLink", FIELD(g.frame.liftLinkExLink)},
    {6, 3, "liftShaftHorz (last copy)", FIELD(g.fixedPivots.liftShaftX)},
    {6, 4, "liftShaftVert (last copy)", FIELD(g.fixedPivots.liftShaftY)},
    {6, 5, "cylCLAboveDriver", FIELD(g.fixedPivots.cylinderCentreY)},
    {7, 1, "centre", FIELD(g.revArm.centre)},
    {7, 2, "cylCtrToDriverCtr", FIELD(g.cyl.cylCtrToDriverCtr())},
    {7, 3, "boreDia", FIELD(g.cyl.boreDia())},
    {7, 4, "boreLength", FIELD(g.cyl.boreLength())},
    {7, 5, "spare", FIELD(g.cyl.spare())},
    {8, 1, "cylSteamPortWidth", FIELD(g.cyl.cylSteamPortWidth())},
    {8, 2, "pistonToCrosshead", FIELD(g.cyl.pistonToCrosshead())},
    {8, 3, "pistonWidth", FIELD(g.cyl.pistonWidth())},
    {8, 4, "valveSurfaceToCL", FIELD(g.cyl.valveSurfaceToCL())},
    {8, 5, "valveStemToCL", FIELD(g.cyl.valveStemToCL())},
    {9, 1, "exhaustPortWidth", FIELD(g.cyl.exhaustPortWidth())},
    {9, 2, "bridgeRear", FIELD(g.cyl.bridgeRear())},
    {9, 3, "steamPortRear", FIELD(g.cyl.steamPortRear())},
    {9, 4, "chamberHeight", FIELD(g.cyl.chamberHeight())},
    {9, 5, "chamberLength", FIELD(g.cyl.chamberLength())},
    {10, 1, "valveHeight", FIELD(g.cyl.valveHeight())},
    {10, 2, "valveRearHalf", FIELD(g.cyl.valveRearHalf())},
    {10, 3, "cavityRearHalf", FIELD(g.cyl.cavityRearHalf())},
    {10, 4, "valveCtrToJoint", FIELD(g.cyl.valveCtrToJoint())},
    {10, 5, "bridgeFront", FIELD(g.cyl.bridgeFront())},
    {11, 1, "steamPortFront", FIELD(g.cyl.steamPortFront())},
    {11, 2, "valveFrontHalf", FIELD(g.cyl.valveFrontHalf())},
    {11, 3, "exLinkLength", FIELD(g.frame.exLinkLength)},
    {11, 4, "cavityFrontHalf", FIELD(g.cyl.cavityFrontHalf())},
    {11, 5, "Y of pivot 4", FIELD(g.piv.y[4])},
    {12, 1, "zoom", FIELD(g.view.zoom)},
    {12, 2, "panHorz", FIELD(g.view.panHorz)},
    {12, 3, "graphicZoomFactor", FIELD(g.graphicZoomFactor)},
    {12, 4, "panVert", FIELD(g.view.panVert)},
    {12, 5, "revArmToCentNorm", FIELD(g.frame.revArmToCentNorm)},
    {13, 1, "revArmToCentMax", FIELD(g.frame.revArmToCentMax)},
    {13, 2, "reverseArmPosition", FIELD(g.motion.reverseArmPosition)},
    {13, 3, "eccDia", FIELD(g.frame.eccDia)},
    {13, 4, "LastDiagramPosition", FIELD(g.lastDiagramPosition)},
    {13, 5, "verticalScale", FIELD(g.revArm.verticalScale)},
    {14, 1, "rockerPivotVert", FIELD(g.fixedPivots.rockerPivotY)},
    {14, 2, "rockerPivotHorz", FIELD(g.fixedPivots.rockerPivotX)},
    {14, 3, "rockerUpperTotal", FIELD(g.frame.rockerUpperTotal)},
    {14, 4, "rockerUpperBackSet", FIELD(g.frame.rockerUpperBackSet)},
    {14, 5, "rockerLowerLength", FIELD(g.frame.rockerLowerLength)},
    {15, 1, "preset 0 zoom", FIELD(g.viewPresets[0].zoom)},
    {15, 3, "preset 0 panVert", FIELD(g.viewPresets[0].panVert)},
    {15, 5, "preset 1 panHorz", FIELD(g.viewPresets[1].panHorz)},
    {16, 1, "preset 1 panVert", FIELD(g.viewPresets[1].panVert)},
    {16, 5, "preset 3 zoom", FIELD(g.viewPresets[3].zoom)},
    {17, 1, "preset 3 panHorz", FIELD(g.viewPresets[3].panHorz)},
    {17, 5, "preset 4 panVert", FIELD(g.viewPresets[4].panVert)},
    {18, 1, "preset 5 zoom", FIELD(g.viewPresets[5].zoom)},
    {18, 5, "preset 6 panHorz", FIELD(g.viewPresets[6].panHorz)},
    {19, 1, "preset 6 panVert", FIELD(g.viewPresets[6].panVert)},
    {19, 2, "position 1", FIELD(g.revArm.position[1])},
    {19, 5, "position 4", FIELD(g.revArm.position[4])},
    {20, 1, "position 5", FIELD(g.revArm.position[5])},
    {20, 5, "position 9", FIELD(g.revArm.position[9])},
    {21, 1, "horz1 of item 1", FIELD(g.overlay[1].horz1)},
    {21, 5, "horz1 of item 5", FIELD(g.overlay[5].horz1)},
    {22, 1, "horz1 of item 6", FIELD(g.overlay[6].horz1)},
    {24, 5, "horz1 of item 20", FIELD(g.overlay[20].horz1)},
    {25, 1, "vert1 of item 1", FIELD(g.overlay[1].vert1)},
    {29, 2, "horz2 of item 2", FIELD(g.overlay[2].horz2)},
    {36, 5, "vert2 of item 20", FIELD(g.overlay[20].vert2)},
    {37, 1, "anchor1Horz of item 1", FIELD(g.overlay[1].anchor1Horz)},
    {42, 3, "anchor1Vert of item 8", FIELD(g.overlay[8].anchor1Vert)},
    {45, 1, "anchor2Horz of item 1", FIELD(g.overlay[1].anchor2Horz)},
    {52, 5, "anchor2Vert of item 20", FIELD(g.overlay[20].anchor2Vert)},
    {53, 1, "kind of item 1", FIELD(g.overlay[1].kind)},
    {58, 2, "color of item 7", FIELD(g.overlay[7].color)},
    {63, 4, "refMode of item 14", FIELD(g.overlay[14].refMode)},
    {65, 1, "anchorPivot1 of item 1", FIELD(g.overlay[1].anchorPivot1)},
    {69, 1, "anchorPivot2 of item 1", FIELD(g.overlay[1].anchorPivot2)},
    {72, 5, "anchorPivot2 of item 20", FIELD(g.overlay[20].anchorPivot2)},
};

#undef FIELD

INSTANTIATE_TEST_SUITE_P(DimensionFile, RecordLayout, ::testing::ValuesIn(kLayout),
                         [](const auto& info) {
                             return "Record" + std::to_string(info.param.record) + "Slot" +
                                    std::to_string(info.param.slot);
                         });

TEST(DimensionFile, FloatsAreLittleEndianIeee) {
    auto g = test::StartedDesign();
    const DesignBytes b = EncodeDesign(*g);
    // Record 1 slot 5: stroke 3.0 = 0x40400000; record 2 slot 2: driverDia 7.0 = 0x40E00000.
    const std::uint8_t stroke[] = {0x00, 0x00, 0x40, 0x40};
    const std::uint8_t driver[] = {0x00, 0x00, 0xE0, 0x40};
    EXPECT_EQ(std::memcmp(b.data() + 16, stroke, 4), 0);
    EXPECT_EQ(std::memcmp(b.data() + 24, driver, 4), 0);
}

TEST(DimensionFile, LiftShaftIsWrittenFourTimes) {
    auto g = test::StartedDesign();
    g->fixedPivots.liftShaftX = 8.25f;
    g->fixedPivots.liftShaftY = -1.75f;
    const DesignBytes b = EncodeDesign(*g);
    const int copies[][4] = {{5, 2, 5, 3}, {5, 4, 5, 5}, {6, 1, 6, 2}, {6, 3, 6, 4}};
    for (const auto& c : copies) {
        EXPECT_EQ(FloatAt(b, c[0], c[1]), 8.25f) << "record " << c[0] << " slot " << c[1];
        EXPECT_EQ(FloatAt(b, c[2], c[3]), -1.75f) << "record " << c[2] << " slot " << c[3];
    }
}

TEST(DimensionFile, LastCopyOfLiftShaftWins) {
    auto g = test::StartedDesign();
    DesignBytes b = EncodeDesign(*g);
    PutFloatAt(b, 5, 2, 1.0f), PutFloatAt(b, 5, 3, 2.0f);
    PutFloatAt(b, 5, 4, 3.0f), PutFloatAt(b, 5, 5, 4.0f);
    PutFloatAt(b, 6, 1, 5.0f), PutFloatAt(b, 6, 2, 6.0f);
    PutFloatAt(b, 6, 3, 9.5f), PutFloatAt(b, 6, 4, -3.5f);
    DecodeDesign(*g, b.data());
    EXPECT_EQ(g->fixedPivots.liftShaftX, 9.5f);
    EXPECT_EQ(g->fixedPivots.liftShaftY, -3.5f);
}

TEST(DimensionFile, Record73HoldsFourZerosAndTheCurrentItem) {
    const int items[] = {1, 7, 20};
    for (int item : items) {
        auto g = test::StartedDesign();
        g->currentItem = item;
        const DesignBytes b = EncodeDesign(*g);
        for (int slot = 1; slot <= 4; ++slot) EXPECT_EQ(BitsAt(b, 73, slot), 0u) << "slot " << slot;
        EXPECT_EQ(FloatAt(b, 73, 5), static_cast<float>(item));
    }
}

TEST(DimensionFile, CurrentItemIsReadAsTheNearestItemInRange) {
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    constexpr float kInf = std::numeric_limits<float>::infinity();
    const struct {
        float stored;
        int item;
    } cases[] = {
        {1.0f, 1},  {7.4f, 7},  {7.6f, 8},  {2.5f, 2},    {3.5f, 4},  {20.0f, 20}, {20.4f, 20}, {0.0f, 1},
        {-5.0f, 1}, {25.0f, 20}, {kNaN, 1},  {-kNaN, 1},   {kInf, 20}, {-kInf, 1},  {3e38f, 20}, {-3e38f, 1},
    };
    for (const auto& c : cases) {
        auto g = test::StartedDesign();
        DesignBytes b = EncodeDesign(*g);
        PutFloatAt(b, 73, 1, 99.0f); // slots 1..4 are ignored
        PutFloatAt(b, 73, 4, kNaN);
        PutFloatAt(b, 73, 5, c.stored);
        DecodeDesign(*g, b.data());
        EXPECT_EQ(g->currentItem, c.item) << "stored " << c.stored;
    }
}

// Every float of records 1..72 goes into the model and comes back bit for
// bit, NaN payloads included; only the lift shaft copies collapse into one.
TEST(DimensionFile, AnyBitsSurviveDecodeAndEncode) {
    std::uint32_t seed = 12345;
    for (int round = 0; round < 20; ++round) {
        DesignBytes in{};
        for (auto& byte : in) {
            seed = seed * 1664525u + 1013904223u;
            byte = static_cast<std::uint8_t>(seed >> 24);
        }
        auto g = test::StartedDesign();
        DecodeDesign(*g, in.data());
        const DesignBytes out = EncodeDesign(*g);

        DesignBytes expected = in;
        const std::uint32_t x16 = BitsAt(in, 6, 3), y16 = BitsAt(in, 6, 4);
        for (const auto& [rec, slot] : {std::pair{5, 2}, {5, 4}, {6, 1}})
            PutFloatAt(expected, rec, slot, std::bit_cast<float>(x16));
        for (const auto& [rec, slot] : {std::pair{5, 3}, {5, 5}, {6, 2}})
            PutFloatAt(expected, rec, slot, std::bit_cast<float>(y16));
        for (int slot = 1; slot <= 4; ++slot) PutFloatAt(expected, 73, slot, 0.0f);
        PutFloatAt(expected, 73, 5, static_cast<float>(g->currentItem));
        for (int rec = 1; rec <= kDesignRecords; ++rec)
            for (int slot = 1; slot <= 5; ++slot)
                ASSERT_EQ(BitsAt(out, rec, slot), BitsAt(expected, rec, slot))
                    << "round " << round << " record " << rec << " slot " << slot;
    }
}

// ---------------------------------------------------------------- names

TEST(DimensionFile, DesignNameIsTheFileNameWithoutItsLastFourCharacters) {
    const struct {
        const char* path;
        const char* name;
    } cases[] = {
        {"/home/user/gear.vxd", "gear"},
        {"gear.vxd", "gear"},
        {"/x/gear.ab", "gea"},
        {"gear.ab", "gea"},
        {"/x/my design.vxd", "my design"},
        {"/dot.ted/name.vxd", "name"},
        {"/x/a.vxd", "a"},
        {"/x/.vxd", ""},
        {"/x/abc", ""},
        {"abc", ""},
        {"/x/", ""},
        {"", ""},
        {"/x/gear", ""},
        {"/x/gear.vxd.bak", "gear.vxd"},
    };
    for (const auto& c : cases) EXPECT_EQ(DesignNameFromPath(c.path), c.name) << c.path;
}

// ---------------------------------------------------------------- real files

TEST(DimensionFile, SavedDefaultsOpenAsTheDefaults) {
    TempDir dir;
    const std::string path = dir.File("nominal copy.vxd");
    auto g = test::StartedDesign();
    ASSERT_TRUE(SaveDesign(*g, path).ok);
    EXPECT_EQ(g->designName, "nominal copy");
    EXPECT_EQ(fs::file_size(path), kDesignFileSize);

    auto h = test::StartedDesign();
    for (const DimensionInfo& d : AllDimensions()) CommitDimension(*h, d.id, d.defaultValue * 1.5f + 1.0f);
    h->designName = "Other";
    const FileResult r = OpenDesign(*h, path);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.midGear, MidGearResult::Found);
    for (const DimensionInfo& d : AllDimensions())
        EXPECT_EQ(DimensionValue(*h, d), d.defaultValue) << d.field;
    EXPECT_EQ(h->designName, "nominal copy");
    EXPECT_EQ(h->revArm.centre, g->revArm.centre);
    EXPECT_EQ(EncodeDesign(*h), EncodeDesign(*g));
}

TEST(DimensionFile, OpenRecomputesPositionsOneToThreeAndKeepsTheRest) {
    TempDir dir;
    const std::string path = dir.File("positions.vxd");
    auto g = test::StartedDesign();
    const float kept[] = {0, 0, 0, 0, 6.5f, -7.25f, 8.0f, 0.001f, -0.5f, 123.0f};
    for (int i = 1; i <= 9; ++i) g->revArm.position[i] = i <= 3 ? 99.0f + static_cast<float>(i) : kept[i];
    g->revArm.centre = 42.0f;
    ASSERT_TRUE(SaveDesign(*g, path).ok);

    auto h = test::StartedDesign();
    ASSERT_TRUE(OpenDesign(*h, path).ok);
    const float centre = h->revArm.centre;
    const float norm = h->frame.revArmToCentNorm;
    EXPECT_NE(centre, 42.0f);
    EXPECT_EQ(h->revArm.position[1], centre);
    EXPECT_FLOAT_EQ(h->revArm.position[2], centre - norm);
    EXPECT_FLOAT_EQ(h->revArm.position[3], centre + norm);
    for (int i = 4; i <= 9; ++i) EXPECT_EQ(h->revArm.position[i], kept[i]) << "position " << i;
}

TEST(DimensionFile, DesignSavedInFullForwardOpensInMidGear) {
    TempDir dir;
    const std::string path = dir.File("forward.vxd");
    auto g = test::StartedDesign();
    const float centre = g->revArm.centre;
    g->motion.reverseArmPosition = centre - g->frame.revArmToCentNorm;
    ASSERT_TRUE(SaveDesign(*g, path).ok);
    EXPECT_EQ(FloatAt(EncodeDesign(*g), 13, 2), centre - g->frame.revArmToCentNorm);

    auto h = test::StartedDesign();
    h->motion.reverseArmPosition = centre + 0.5f;
    ASSERT_TRUE(OpenDesign(*h, path).ok);
    EXPECT_EQ(h->revArm.centre, centre);
    EXPECT_EQ(h->motion.reverseArmPosition, h->revArm.centre);
    EXPECT_EQ(RevArmBarPositionAfterOpen(*h), 0);
}

TEST(DimensionFile, OverlayViewAndPresetsSurviveSaveAndOpen) {
    TempDir dir;
    const std::string path = dir.File("overlay.vxd");
    auto g = test::StartedDesign();
    g->overlay[3] = OverlayItem{1, 2, 3, 4, 5, 6, 7, 8, 1, 0x00FF00FF, 2, 16, 27};
    g->overlay[20].kind = 0;
    g->currentItem = 3;
    g->view = ViewTransform{40.0f, -12.5f, 300.0f};
    g->viewPresets[4] = ViewTransform{11.0f, 22.0f, 33.0f};
    g->revArm.verticalScale = 2.75f;
    g->graphicZoomFactor = 3.0f;
    g->lastDiagramPosition = 0.375f;
    g->cyl.spare() = -8.5f;
    ASSERT_TRUE(SaveDesign(*g, path).ok);

    auto h = test::StartedDesign();
    ASSERT_TRUE(OpenDesign(*h, path).ok);
    EXPECT_EQ(EncodeDesign(*h), EncodeDesign(*g));
    EXPECT_EQ(h->currentItem, 3);
    EXPECT_EQ(h->cyl.spare(), -8.5f);
}

TEST(DimensionFile, BytesAfterTheLastRecordAreIgnored) {
    TempDir dir;
    auto g = test::StartedDesign();
    g->frame.stroke = 3.5f;
    const DesignBytes b = EncodeDesign(*g);
    std::vector<std::uint8_t> longer(b.begin(), b.end());
    longer.resize(b.size() + 333, 0xFF);
    const std::string path = dir.File("long.vxd");
    WriteAll(path, longer);

    auto h = test::StartedDesign();
    ASSERT_TRUE(OpenDesign(*h, path).ok);
    EXPECT_EQ(h->frame.stroke, 3.5f);
}

// A design that differs from the defaults everywhere a file could touch.
std::unique_ptr<GearState> EditedGear() {
    auto g = test::StartedDesign();
    for (const DimensionInfo& d : AllDimensions()) CommitDimension(*g, d.id, d.defaultValue + 0.25f);
    FindMidGear(*g);
    g->designName = "Edited";
    g->currentItem = 9;
    g->overlay[9].kind = 1;
    g->view.zoom = 61.0f;
    g->revArm.position[6] = 1.5f;
    return g;
}

struct OpenFailure {
    const char* what;
    std::function<std::string(const TempDir&)> makePath; // returns the path to open
    const char* reason;                                   // part of the message
};

class OpenFailures : public ::testing::TestWithParam<OpenFailure> {};

TEST_P(OpenFailures, LeaveTheModelExactlyAsItWas) {
    const OpenFailure& c = GetParam();
    TempDir dir;
    const std::string path = c.makePath(dir);
    auto g = EditedGear();
    const DesignBytes before = EncodeDesign(*g);
    const float driverAngle = g->motion.driverAngle;

    const FileResult r = OpenDesign(*g, path);
    EXPECT_FALSE(r.ok) << c.what;
    EXPECT_NE(r.error.find(path), std::string::npos) << r.error;
    EXPECT_NE(r.error.find(c.reason), std::string::npos) << r.error;
    EXPECT_EQ(EncodeDesign(*g), before) << c.what;
    EXPECT_EQ(g->designName, "Edited");
    EXPECT_EQ(g->motion.driverAngle, driverAngle);
}

std::string ShortFile(const TempDir& dir, std::size_t n) {
    const std::string path = dir.File("short.vxd");
    std::vector<std::uint8_t> bytes(n, 0x3F);
    WriteAll(path, bytes);
    return path;
}

const OpenFailure kOpenFailures[] = {
    {"missing file", [](const TempDir& d) { return d.File("absent.vxd"); }, "No such file"},
    {"missing folder", [](const TempDir& d) { return d.File("no/such/folder.vxd"); }, "No such file"},
    {"empty file", [](const TempDir& d) { return ShortFile(d, 0); }, "too short (0 bytes"},
    {"twelve bytes", [](const TempDir& d) { return ShortFile(d, 12); }, "too short (12 bytes"},
    {"one record short", [](const TempDir& d) { return ShortFile(d, 1440); }, "too short (1440 bytes"},
    {"one byte short", [](const TempDir& d) { return ShortFile(d, 1459); }, "too short (1459 bytes"},
    {"a folder",
     [](const TempDir& d) {
         fs::create_directory(d.File("folder.vxd"));
         return d.File("folder.vxd");
     },
     "Is a directory"},
    {"empty name", [](const TempDir&) { return std::string(); }, "No such file"},
};

INSTANTIATE_TEST_SUITE_P(DimensionFile, OpenFailures, ::testing::ValuesIn(kOpenFailures),
                         [](const auto& info) {
                             std::string name;
                             for (const char* p = info.param.what; *p; ++p)
                                 if (std::isalnum(static_cast<unsigned char>(*p))) name += *p;
                             return name;
                         });

using test::FileSizeLimit;

TEST(DimensionFile, FailedSaveKeepsTheExistingFileAndLeavesNoTemporaryFile) {
    TempDir dir;
    const std::string path = dir.File("keep.vxd");
    const std::string old = "an existing file that must survive";
    WriteAll(path, old);

    auto g = EditedGear();
    const DesignBytes before = EncodeDesign(*g);
    FileResult r;
    {
        FileSizeLimit limit(1000); // the design needs 1460 bytes
        r = SaveDesign(*g, path);
    }
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find(path), std::string::npos) << r.error;
    EXPECT_EQ(ReadAll(path), old);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"keep.vxd"});
    EXPECT_EQ(g->designName, "Edited");
    EXPECT_EQ(EncodeDesign(*g), before);
}

TEST(DimensionFile, SaveIntoMissingFolderOrOverFolderFails) {
    TempDir dir;
    fs::create_directory(dir.File("sub.vxd"));
    WriteAll(dir.File("sub.vxd/inside"), "x");
    const struct {
        std::string path;
        const char* reason;
    } cases[] = {
        {dir.File("missing/design.vxd"), "No such file"},
        {dir.File("sub.vxd"), "Is a directory"},
        {"", "no file name"},
    };
    for (const auto& c : cases) {
        auto g = EditedGear();
        const FileResult r = SaveDesign(*g, c.path);
        EXPECT_FALSE(r.ok) << c.path;
        EXPECT_NE(r.error.find(c.reason), std::string::npos) << r.error;
        EXPECT_EQ(g->designName, "Edited");
    }
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"sub.vxd"});
    EXPECT_EQ(ReadAll(dir.File("sub.vxd/inside")), "x");
}

TEST(DimensionFile, SaveReplacesAnExistingFile) {
    TempDir dir;
    const std::string path = dir.File("replace.vxd");
    const std::string old(5000, 'z'); // longer than a design: nothing of it may remain
    WriteAll(path, old);
    auto g = EditedGear();
    ASSERT_TRUE(SaveDesign(*g, path).ok);
    const DesignBytes b = EncodeDesign(*g);
    EXPECT_EQ(ReadAll(path), std::string(b.begin(), b.end()));
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"replace.vxd"});
}

} // namespace
} // namespace vx
