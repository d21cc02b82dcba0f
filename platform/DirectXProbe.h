#pragma once
// Which DirectX release the system has, probed through the components in the
// order of the releases that brought them.
#include <stdint.h>

namespace platform {

// Major version in the high byte, minor in the low: 0 (no usable DirectDraw),
// 0x100, 0x200, 0x300, 0x500, 0x600, 0x601, 0x700, 0x800 or 0x801.
uint32_t ProbeDirectXVersion();

constexpr uint32_t kDirectX81 = 0x801;

}  // namespace platform
