// Which solve an analysis stands on.
//
// Exact: the linkage closed in double precision by root-finders whose
// brackets scale with the design, to about 1e-12 of its size; the figures
// are smooth in every dimension and any size or length unit works. The
// analyses use it unless told otherwise.
//
// Classic: the window's own solve, in 32-bit floats, whose searches stop at
// a step of 0.0001 length units; the main picture, its diagrams, the pivot
// table and the sweep stand on it. An analysis asked for it gives the
// figures the classic solve gives, for comparison.
#pragma once

namespace vx {

enum class SolveMode { Exact, Classic };

} // namespace vx
