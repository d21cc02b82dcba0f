#pragma once
// One item read once, in pieces: its CRC-32 over the stored bytes and, when
// asked, its bytes as the installation writes them, inflated or decoded on
// the way. verify and extract read every item through here, so that memory
// stays near a few pieces whatever the installer's size.
#include <stdint.h>

#include <string>

#include "vpack/read/InstallerFile.h"

namespace vpack {

enum class Decode { kNone, kZlib, kEngine };

// A zlib item whose stored and unpacked bytes together fit this is inflated
// whole, by the installer's own inflater, as the installer does; a larger one
// by zlib, in pieces.
constexpr uint64_t kWholeInflateBytes = 32ull << 20;

struct ItemPass {
  uint32_t crc = 0;     // of the stored bytes
  std::string problem;  // why it does not inflate or decode; empty when it does
};

// sink gets the stored bytes (kNone), or the unpacked ones as they come; a
// damaged item may have given some before its problem shows.
ItemPass PassItem(const InstallerFile& file, int32_t index, Decode decode, const PieceSink& sink);

}  // namespace vpack
