#include "model/analysis/measured_work.h"

#include "base/float_cast.h"

namespace vx {
namespace {

// A crank angle `place` degrees into an end's cycle from its own dead
// centre, in the running direction.
float CycleAngle(double place, bool rear, bool forward) {
    double a = (rear ? 180.0 : 0.0) + (forward ? place : -place);
    while (a < 0) a += 360.0;
    while (a >= 360.0) a -= 360.0;
    return F(a);
}

// Where each event lies in its end's cycle: admission just before dead
// centre, cut-off and release on the outward stroke, compression on the return.
constexpr double kAdmissionPlace = 359.0;
constexpr double kOutwardPlace = 90.0;
constexpr double kReturnPlace = 270.0;

} // namespace

std::vector<MeasuredPosition> MeasuredWork(const GearState& g, std::span<const Measurement> rows,
                                           const WorkSettings& s) {
    std::vector<MeasuredPosition> out;
    const double stroke = g.frame.stroke;
    for (const Measurement& m : rows) {
        if (m.event == MeasuredEvent::Lead || m.unit == MeasureUnit::Degrees) continue;
        MeasuredPosition* at = nullptr;
        for (MeasuredPosition& p : out)
            if (p.offset == m.offset && p.direction == m.direction) at = &p;
        if (!at) {
            out.emplace_back();
            at = &out.back();
            at->offset = m.offset;
            at->direction = m.direction;
            at->events.position = F(static_cast<double>(g.revArm.centre) + m.offset);
            at->events.forward = RunsForward(g, at->events.position, m.direction);
        }
        const double percent = m.unit == MeasureUnit::Percent ? m.value : m.value / stroke * 100.0;
        EndEvents& e = m.rear ? at->events.rear : at->events.front;
        const bool fwd = at->events.forward;
        switch (m.event) {
        case MeasuredEvent::Admission:
            e.admission = F(percent);
            e.admissionAngle = CycleAngle(kAdmissionPlace, m.rear, fwd);
            break;
        case MeasuredEvent::CutOff:
            e.cutOff = F(percent);
            e.cutOffAngle = CycleAngle(kOutwardPlace, m.rear, fwd);
            break;
        case MeasuredEvent::Release:
            e.release = F(percent);
            e.releaseAngle = CycleAngle(kOutwardPlace, m.rear, fwd);
            break;
        case MeasuredEvent::Compression:
            e.compression = F(percent);
            e.compressionAngle = CycleAngle(kReturnPlace, m.rear, fwd);
            break;
        case MeasuredEvent::Lead: break;
        }
    }
    const WorkDimensions dims = WorkDimensionsOf(g);
    for (MeasuredPosition& p : out) {
        for (const bool rear : {false, true}) {
            const EndEvents& e = p.events.End(rear);
            const std::pair<bool, const char*> have[] = {{e.admission.has_value(), "admission"},
                                                         {e.cutOff.has_value(), "cut-off"},
                                                         {e.release.has_value(), "release"},
                                                         {e.compression.has_value(), "compression"}};
            for (const auto& [ok, name] : have) {
                if (ok) continue;
                if (!p.missing.empty()) p.missing += ", ";
                p.missing += std::string(rear ? "rear " : "front ") + name;
            }
        }
        ComputeWork(p.events, s, dims, p.work);
    }
    return out;
}

} // namespace vx
