// The dimension data file (".vxd"): one gear design with its view presets,
// reverse arm positions and line and circle overlay, as 73 records of five
// little-endian 32-bit floats (1460 bytes), no header.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/state/gear_state.h"
#include "model/gear/midgear.h"
#include "platform/safe_file.h"

namespace vx {

constexpr int kDesignRecords = 73;
constexpr int kDesignRecordFloats = 5;
constexpr std::size_t kDesignFileSize = kDesignRecords * kDesignRecordFloats * 4; // 1460

using DesignBytes = std::array<std::uint8_t, kDesignFileSize>;

// The file image of the model, record by record, bit for bit.
DesignBytes EncodeDesign(const GearState& g);

// Stores every record of the file image into the model, slot by slot in
// record order (so the last copy of the lift shaft pivot wins). Record 73
// slots 1 to 4 are ignored; currentItem := nearest(slot 5), kept in 1..20
// (NaN gives 1). Nothing else is validated.
void DecodeDesign(GearState& g, const std::uint8_t* bytes);

// The design name of a path: the file name without its folder and without
// its last four characters ("/x/gear.vxd" -> "gear", "gear.ab" -> "gea");
// a file name shorter than four characters gives "".
std::string DesignNameFromPath(std::string_view path);

struct FileResult {
    bool ok = true;
    std::string error; // a full sentence naming the file and the reason
    // Open only: the outcome of the mid-gear search after loading.
    MidGearResult midGear = MidGearResult::Found;
    // Open only: bytes followed the design's kDesignFileSize (they are
    // ignored: a file may carry more).
    bool trailingBytes = false;
};

// Opens a design. The whole file is read and checked before the model is
// touched: on failure the model is left exactly as it was. On success: full
// reset, design name from the path, every record stored, mid-gear search,
// reverse arm at the centre.
FileResult OpenDesign(GearState& g, const std::string& path);

// The same from bytes already read (standard input): the first
// kDesignFileSize of `data`; `label` names them in a message ("standard
// input"). The design gets no name.
FileResult OpenDesignBytes(GearState& g, std::string_view data, const std::string& label);

// Saves the design. A symbolic link is followed: its target is saved and
// the link stays. The file is written to a temporary file beside the target
// (with the owner, group and permissions of the file it replaces) and
// renamed over it, so a failed save leaves an existing file as it was and no
// temporary file behind. Where no temporary file can be made (a folder that
// is not writable), where the new file cannot be given the old one's owner
// and group, or where the file has more than one name (hard links), the
// target is written in place, its old contents kept in memory and written
// back if the write fails. The design name is set from
// the path when the save succeeds.
FileResult SaveDesign(GearState& g, const std::string& path);

// Position of the reverse arm bar after an open: nearest((centre -
// reverseArmPosition) x 1000), 0 when the reverse arm stands at the centre.
int RevArmBarPositionAfterOpen(const GearState& g);

} // namespace vx
