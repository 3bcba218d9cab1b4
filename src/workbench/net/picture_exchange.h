#pragma once
// Between the workbench and the picture pair on the wire: what an export sends from the
// displayed pictures and view, and how a received pair is opened.
#include <cstdint>
#include <vector>

#include "net/wire_format.h"
#include "options/options.h"
#include "workbench/picture/open_pictures.h"
#include "workbench/workbench.h"

namespace vemla::net {

// The payload of an export: both unshifted pictures at W x H with their palettes, the view's
// centre as the display position, its magnification and reduced-display flag.
std::vector<std::uint8_t> exportPayload(const Workbench& bench);

// The received pair as pictures to open: "<Import1>" and "<Import2>", the received palettes
// unless ImportAsGrey, the received position when ImportTakePosition (else none, which centres
// the view), the received magnification and reduced-display flag when ImportTakeMagnification
// (else none, which keeps the view's). `header` and `pixels` (2 * W * H bytes) must outlive the
// result.
MemoryPictures importedPictures(const PairHeader& header, const std::uint8_t* pixels,
                                const Options& options);

}  // namespace vemla::net
