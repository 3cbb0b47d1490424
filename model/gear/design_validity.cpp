#include "model/gear/design_validity.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "base/fixed_format.h"
#include "model/gear/dimensions.h"
#include "model/gear/geometry_check.h"

namespace vx {
namespace {

bool MustBeAboveZero(int id) {
    return std::find(std::begin(kPositiveLengthIds), std::end(kPositiveLengthIds), id) != std::end(kPositiveLengthIds);
}

DesignFault DimensionFault(const DimensionInfo& info, float v) {
    if (!std::isfinite(v)) return {DesignFaultKind::NotFinite, info.id, v};
    if (std::fabs(v) > kAbsurdDimension) return {DesignFaultKind::Absurd, info.id, v};
    if (MustBeAboveZero(info.id) && !(v > 0)) return {DesignFaultKind::NotAboveZero, info.id, v};
    return {};
}

} // namespace

DesignFault CheckDesignValidity(const Design& d) {
    for (const DimensionInfo& info : AllDimensions())
        if (const DesignFault f = DimensionFault(info, DimensionValue(d, info)); f.Any()) return f;
    return {};
}

std::vector<DesignFault> DesignFaults(const Design& d) {
    std::vector<DesignFault> faults;
    for (const DimensionInfo& info : AllDimensions())
        if (const DesignFault f = DimensionFault(info, DimensionValue(d, info)); f.Any()) faults.push_back(f);
    return faults;
}

std::string DescribeDesignFault(const DesignFault& fault) {
    if (!fault.Any()) return {};
    const DimensionInfo* info = FindDimension(fault.id);
    std::string s = info ? std::string(info->shortName) + " (" + std::string(info->field) + ")"
                         : "dimension " + std::to_string(fault.id);
    s += " is " + ShortestString(fault.value);
    switch (fault.kind) {
    case DesignFaultKind::NotFinite: s += ", not a finite number"; break;
    case DesignFaultKind::Absurd: s += ", beyond the 1e+06 no dimension of a gear reaches"; break;
    case DesignFaultKind::NotAboveZero: s += "; the gear needs it above zero"; break;
    case DesignFaultKind::None: break;
    }
    return s;
}

const char* DesignFaultName(DesignFaultKind kind) {
    switch (kind) {
    case DesignFaultKind::NotFinite: return "not-finite";
    case DesignFaultKind::Absurd: return "absurd";
    case DesignFaultKind::NotAboveZero: return "dimension";
    case DesignFaultKind::None: break;
    }
    return "";
}

} // namespace vx
