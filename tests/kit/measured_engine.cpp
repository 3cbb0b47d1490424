#include "tests/kit/measured_engine.h"

#include <random>

#include "base/float_cast.h"
#include "model/analysis/valve_events.h"
#include "model/gear/dimensions.h"
#include "model/gear/midgear.h"
#include "model/workspace/dimension_edit.h"

namespace vx::test {

std::unique_ptr<GearState> BuiltEngine(const GearState& design, std::span<const BuildError> errors) {
    auto g = std::make_unique<GearState>(design);
    for (const BuildError& e : errors) {
        const DimensionInfo* d = FindDimensionByField(e.field);
        CommitDimension(*g, d->id, F(static_cast<double>(DimensionValue(*g, *d)) + e.change));
    }
    FindMidGear(*g);
    return g;
}

std::vector<Measurement> MeasureEngine(const GearState& engine, std::span<const double> offsets, double noise,
                                       std::uint32_t seed, double weight) {
    std::mt19937 random(seed);
    // Uniform in [-1, 1) from the generator's bits, the same on every library.
    const auto jitter = [&] { return noise * (static_cast<double>(random()) / 2147483648.0 - 1.0); };
    std::vector<Measurement> rows;
    const double stroke = engine.frame.stroke;
    for (const double offset : offsets) {
        const PositionEvents e =
            ComputeValveEvents(engine, F(static_cast<double>(engine.revArm.centre) + offset), EventDirection::Auto);
        for (const bool rear : {false, true}) {
            for (const MeasuredEvent event : {MeasuredEvent::CutOff, MeasuredEvent::Release, MeasuredEvent::Lead}) {
                Measurement m;
                m.offset = offset;
                m.rear = rear;
                m.event = event;
                m.unit = event == MeasuredEvent::Lead ? MeasureUnit::Length : MeasureUnit::Percent;
                const auto figure = MeasuredFigure(e, m, stroke);
                if (!figure) continue;
                const double scale = event == MeasuredEvent::Lead ? stroke / 100.0 : 1.0;
                m.value = *figure + jitter() * scale;
                if (weight > 0) m.weight = weight * scale;
                rows.push_back(m);
            }
        }
    }
    return rows;
}

} // namespace vx::test
