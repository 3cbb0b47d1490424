// The options of each command of the table (command_entries.cpp), with
// their value names, defaults, ranges and help texts.
#pragma once

#include <string_view>

#include "cli/command_table.h"

namespace vx::cli {

inline constexpr std::string_view kRevArmHelp =
    "reverse arm position as an offset from mid gear (-1 is normal full forward, +1 full reverse for the "
    "default design)";

inline constexpr OptionEntry kSweepOptions[] = {
    {"--revarm", "OFFSET", "0", "any finite number", kRevArmHelp},
    {"--from", "A", "0", "any finite number", "first driver angle, degrees"},
    {"--to", "B", "360", "any finite number", "last driver angle, degrees"},
    {"--step", "S", "10", "any finite number but 0; negative runs from A down to B",
     "degrees between rows"},
};

inline constexpr OptionEntry kCheckOptions[] = {
    {"--revarm", "OFFSET", "0", "any finite number", kRevArmHelp},
    {"--step", "S", "1", "0.001 to 360", "degrees between the angles checked"},
    {"--summary", "", "", "", "the one-line verdict on standard output instead of the rows"},
};

inline constexpr OptionEntry kPivotsOptions[] = {
    {"--pivots", "N1,...", "2,3,4,8,10,11: crank pin, crosshead, valve spindle pin, die, eccentric rod pins",
     "one to six pivot numbers 0 to 30; a pivot may stand in two slots, as in the window's table, but not "
     "with --csv", "the pivots of the columns"},
    {"--step", "S", "10", "0.01 to 360", "degrees between rows"},
    {"--revarm", "OFFSET", "0", "any finite number", kRevArmHelp},
    {"--csv", "", "", "", "CSV angle,p<N>x,p<N>y,... instead of the table"},
    {"--list", "", "", "", "what each pivot number is, as CSV pivot,role"},
};

// The choices the analysis commands share (option_values.h reads them).
inline constexpr OptionEntry kSolveOption = {
    "--solve", "S", "exact", "exact or classic",
    "the solve the figures stand on: exact (the linkage closed in double precision, smooth in every dimension, "
    "for a design of any size in any length unit) or classic (the main picture's own solve, whose searches "
    "stop at a step of 0.0001 length units, for comparison with the figures of earlier versions)"};
inline constexpr OptionEntry kDigitsOption = {
    "--digits", "D", "fixed", "fixed or full",
    "fixed: each figure with the decimals of its column; full: every figure in the shortest form that reads "
    "back as the same double"};
inline constexpr OptionEntry kUnitOption = {
    "--unit", "U", "none", "in, mm or none",
    "the length unit the design is drawn in, for the labels of lengths (\"lead, mm\"); nothing is converted, "
    "and CSV headers and values stay as they are"};

inline constexpr std::string_view kDirectionHelp =
    "the direction the gear runs: auto runs forward below mid gear and in reverse above it";

inline constexpr OptionEntry kEventsOptions[] = {
    {"--positions", "O1,...", "the nine notches -Norm, -3/4 Norm, ..., +Norm",
     "1 to 1000 finite offsets; each held within mid gear +- Max",
     "reverse arm positions as offsets from mid gear"},
    {"--direction", "D", "auto", "auto, forward or reverse", kDirectionHelp},
    {"--csv", "", "", "",
     "one CSV row per position and end of the cylinder instead of the tables (angles in degrees, events in % of "
     "the stroke, lengths in the design's length unit)"},
    kSolveOption,
    kDigitsOption,
    kUnitOption,
};

inline constexpr OptionEntry kMidGearOptions[] = {
    {"--solve", "S", "classic", "exact or classic",
     "the search: classic (the design's own mid gear, which the picture and every offset of the other commands "
     "stand on) or exact (the exact solve's mid gear, for any size of design)"},
    kDigitsOption,
    kUnitOption,
};

inline constexpr OptionEntry kCompareOptions[] = {
    {"--positions", "O1,...", "the nine notches of each design",
     "1 to 1000 finite offsets; each held within that design's mid gear +- Max",
     "reverse arm positions as offsets from each design's own mid gear"},
    {"--direction", "D", "auto", "auto, forward or reverse", kDirectionHelp},
    {"--tolerance", "T", "half a unit in each figure's last printed place", "finite, at least 0",
     "a difference larger than T counts as moved (exit status 1)"},
    {"--csv", "", "", "", "CSV offset,end,name,a,b,difference instead of the tables (dimension rows first, "
                          "with empty offset and end; lengths in the designs' length unit)"},
    kSolveOption,
    kDigitsOption,
    kUnitOption,
};

inline constexpr OptionEntry kBalanceOptions[] = {
    {"--vary", "F1,...", "", "dimension fields as \"dims\" lists them, not revArmToCentMax",
     "the dimensions to search (required)"},
    {"--bounds", "F=LO:HI", "the value +- 5 %, angles +- 3 degrees", "finite, LO not above HI",
     "the range of a varied dimension", true},
    {"--positions", "O1,...", "-Norm,-3/4,-1/2,-1/4 Norm", "finite offsets",
     "reverse arm positions as offsets from mid gear"},
    {"--direction", "D", "auto", "auto, forward or reverse", kDirectionHelp},
    {"--weights", "NAME=W,...", "cutoff=1,lead=10000,release=0,compression=0,work=0",
     "names cutoff, lead, release, compression, work; finite, not below 0, not all 0",
     "the prices of the squared front-minus-rear differences (cut-off per % of stroke, lead per length unit, "
     "work per point of MEP as % of p1, from the ideal cards at the default work settings)"},
    {"--max-evals", "N", "300", "1 to 1000000", "the most designs the search tries"},
    {"--save", "OUT", "", "", "write the balanced design to this dimension data file (checked before the search)"},
    {"--csv", "", "", "",
     "CSV instead of the tables, one table (see --table): field,before,after,lower,upper for each dimension "
     "varied (values that paste back as --set)"},
    {"--table", "T", "dims", "dims or events; with --csv",
     "the CSV table written: dims, or events: the events of both designs as \"events --csv\" writes them "
     "(offset column included), each row led by design before or after"},
    kSolveOption,
    kUnitOption,
};

inline constexpr OptionEntry kReportOptions[] = {
    {"--out", "FILE.pdf", "", "", "the PDF file (required)"},
    {"--paper", "P", "auto: the locale's (LC_PAPER)", "a4, letter or auto, in any case", "the paper size"},
    {"--title", "TEXT", "the design file's name, or Nominal", "", "the design's name in the report"},
    kSolveOption,
    kUnitOption,
};

inline constexpr OptionEntry kFrameOptions[] = {
    {"--out", "FILE", "", "", "the picture file (required): by its suffix PNG (.png, also a name without one, and "
                              "\"-\" for standard output), SVG (.svg) or PDF (.pdf, a page the picture's size)"},
    {"--size", "WxH", "1280x1024", "1x1 to 1280x1024",
     "only the top-left W x H pixels of the picture, e.g. 632x380 for what the window shows"},
    {"--angle", "A", "the design's, 0", "any finite number", "driver angle in degrees"},
    {"--revarm", "OFFSET", "0", "any finite number", kRevArmHelp},
    {"--zoom", "Z", "the design's, 28.5", "a finite number above 0", "pixels per length unit"},
    {"--pan-h", "H", "the design's, 110", "any number", "picture x of the driving axle"},
    {"--pan-v", "V", "the design's, 270", "any number", "picture y of the driving axle"},
    {"--no-screen-data", "", "", "", "the picture without the screen data"},
    {"--steam", "", "", "", "with the steam display"},
    {"--large-font", "", "", "", "the screen data at the large font (places and sizes)"},
    {"--line-width", "W", "1", "1 or 2", "pen width"},
    {"--running", "STEP", "stopped", "0.01 to 45",
     "run the gear at STEP degrees per tick as the window runs it, from the design's driver angle: one "
     "revolution, then on up to the angle (the cut-off readouts, steam colours and densities seen at that "
     "moment)"},
};

inline constexpr OptionEntry kAnimationOptions[] = {
    {"--out", "FILE", "", "", "the GIF file, or a folder for PNG frames (ends in \"/\" or is one) (required)"},
    {"--step", "S", "10: 36 frames", "0.01 to 45", "degrees per frame"},
    {"--revarm", "OFFSET", "0", "any finite number", kRevArmHelp},
    {"--steam", "", "", "", "with the steam display"},
    {"--no-screen-data", "", "", "", "the pictures without the screen data"},
    {"--large-font", "", "", "", "the screen data at the large font (places and sizes)"},
    {"--fps", "N", "25", "a whole number 1 to 100", "frames per second of the GIF"},
    {"--force", "", "", "",
     "remove the frame files of an earlier animation in the folder that this one does not write over"},
    {"--size", "WxH", "1280x1024", "1x1 to 1280x1024",
     "only the top-left W x H pixels of the picture, e.g. 632x380 for what the window shows"},
};

inline constexpr OptionEntry kDiagramOptions[] = {
    {"--out", "FILE", "", "", "the picture file: by its suffix PNG (.png, also a name without one, and \"-\" for "
                              "standard output), SVG (.svg) or PDF (.pdf: one page of the locale's paper)"},
    {"--data", "", "", "",
     "instead of a picture, the figures behind it as CSV on standard output (header line first, 4 decimals, "
     "an empty field where there is no figure)"},
    {"--positions", "O1,...", "0,-Norm,+Norm", "up to 9 finite offsets; an empty list draws no curves",
     "reverse arm positions as offsets from mid gear, each held within mid gear +- Max; not used by ports"},
    {"--samples", "", "", "",
     "sine and oval with --data: the drawn valve travel points instead of the lead and lap figures"},
    {"--mode", "M", "both", "forward, reverse or both", "ports only (refused for the others): the running direction drawn"},
    {"--scale", "S", "the design's", "a finite number; at least 0.1 is used",
     "sine and oval only (refused for the others): vertical scale"},
};

inline constexpr OptionEntry kSensitivityOptions[] = {
    {"--positions", "O1,...", "the nine notches", "finite offsets", "reverse arm positions as offsets from mid gear"},
    {"--direction", "D", "auto", "auto, forward or reverse", "the running direction; auto runs forward up to mid gear"},
    {"--fields", "F1,...", "every dimension", "field names as \"dims\" lists them", "the dimensions varied"},
    {"--of", "FIGURE", "cutOffDiff",
     "cutOffFront, cutOffRear, releaseFront, releaseRear, compressionFront, compressionRear, admissionFront, "
     "admissionRear, leadFront, leadRear, cutOffDiff, leadDiff",
     "the figure the readable ranking orders by"},
    {"--top", "N", "every dimension", "1 or more", "how many dimensions each notch's ranking lists"},
    {"--threads", "N", "the machine's cores", "1 to 64", "threads of the job pool"},
    {"--csv", "", "", "",
     "position,direction,field,figure,derivative,perTolerance,offset for every figure (points of stroke, or "
     "length units for a lead, per length unit or per degree)"},
    kSolveOption,
    kDigitsOption,
    kUnitOption,
};

inline constexpr OptionEntry kToleranceOptions[] = {
    {"--positions", "O1,...", "-Norm,-1/2 Norm,+1/2 Norm,+Norm", "finite offsets, or notches: the nine notches",
     "reverse arm positions as offsets from mid gear"},
    {"--tol", "FIELD=T", "", "T finite and at least 0", "the tolerance of one dimension (length units, or degrees)", true},
    {"--tol-all-lengths", "T", "0.002", "finite and at least 0", "the tolerance of every length"},
    {"--tol-all-angles", "A", "0.1", "finite and at least 0", "the tolerance of every angle, degrees"},
    {"--no-valve-ports", "", "", "", "leave the valve and port dimensions at their drawn values"},
    {"--wear", "W", "0", "finite and at least 0",
     "pin clearance: each pin spacing +- W: mainRodLength, eccFwdRod, eccRevRod, exLinkSupportVert, "
     "exLinkEccRodVert, liftLinkExLink, liftLinkRadRod, radRodTotalLength, radRodShortEnd, liftArmExLinkEnd, "
     "liftArmRadRodEnd, reverseArmLength, rockerUpperTotal, rockerLowerLength, pistonToCrosshead, "
     "valveCtrToJoint (not exLinkLength: the slot's length is no pin spacing)"},
    {"--samples", "N", "1000", "1 to 1000000", "the number of samples"},
    {"--seed", "S", "1", "a whole number", "the seed of the generator; the same seed gives the same figures"},
    {"--threshold", "PTS", "1", "finite and at least 0", "the |cutOffDiff| that counts as not square"},
    {"--threads", "N", "the machine's cores", "1 to 64", "threads of the job pool"},
    {"--csv", "", "", "",
     "position,direction,figure,nominal,min,p05,median,p95,max,overThreshold,failed,offset (points of stroke, "
     "leads in the design's length unit, shares from 0 to 1)"},
    kSolveOption,
    kDigitsOption,
    kUnitOption,
};

inline constexpr OptionEntry kWorkOptions[] = {
    {"--positions", "O1,...", "the nine notches", "up to 9 finite offsets", "reverse arm positions as offsets from mid gear"},
    {"--direction", "D", "auto", "auto, forward or reverse", "the running direction; auto runs forward up to mid gear"},
    {"--pressure", "P1", "200", "finite, above the back pressure", "admission pressure, absolute"},
    {"--back-pressure", "PB", "18", "finite, at least 0", "exhaust back pressure, absolute"},
    {"--clearance", "C", "0.08", "finite, at least 0", "clearance volume as a fraction of the swept volume"},
    {"--exponent", "N", "1", "finite, above 0", "expansion and compression exponent (1 hyperbolic, 1.3 common)"},
    {"--cylinders", "K", "2", "1 to 64", "cylinders of the engine, for the tractive effort"},
    {"--measured", "FILE", "", "a measurement file as \"fit\" reads it; not with --positions",
     "the cards of the measured engine: its admission, cut-off, release and compression (percent or length) "
     "per measured offset and end instead of the design's events; an end whose four events are not all "
     "measured is named and has no card"},
    {"--csv", "", "", "",
     "position,direction,end,admission,cutOff,release,compression,mep,mepRatio,steamPerStroke,steamPerWork,"
     "tractiveEffort,offset, one row per position and end"},
    kSolveOption,
    kDigitsOption,
    kUnitOption,
};

inline constexpr OptionEntry kFitOptions[] = {
    {"--measured", "FILE", "", "a CSV file offset,direction,end,event,value,unit[,weight][,note]; \"-\" reads "
                               "standard input",
     "the measured valve events (required)"},
    {"--vary", "F1,...", "valveCtrToJoint,eccFwdRod,eccRevRod,eccFwdAngle,eccRevAngle,rockerUpperTotal,"
                         "rockerLowerLength",
     "dimension fields as \"dims\" lists them, not revArmToCentNorm or revArmToCentMax",
     "the dimensions to fit", true},
    {"--bounds", "F=LO:HI", "the value +- 5 %, angles +- 3 degrees", "finite, LO below HI",
     "the range of a varied dimension", true},
    {"--adjust", "F1,...", "valveCtrToJoint,eccFwdRod,eccRevRod", "dimension fields, or none",
     "the dimensions the shop can change: the fitted engine is balanced over them (the balance's weights and "
     "bounds, at the measured offsets) and the corrections printed in shop terms"},
    {"--weights", "UNIT=W,...", "percent=0.25,deg=0.5,length=0.002", "units percent, deg, length; finite, above 0",
     "the standard uncertainty of a measurement of each unit that gives no weight of its own"},
    {"--out", "FILE.vxd", "", "", "write the fitted design (the drawing with the fitted values) to this file"},
    {"--residuals", "FILE", "", "",
     "write offset,direction,end,event,unit,measured,fitted,residual for every measurement, largest |residual| "
     "first, to this file (residual: (measured - fitted) / weight)"},
    {"--threads", "N", "the machine's cores", "1 to 64", "threads of the job pool (the same figures on any number)"},
    {"--csv", "", "", "", "one CSV table instead of the text: field,drawing,fitted,change,standardError"},
};

} // namespace vx::cli
