#pragma once
// The engine file format of the stand-in engine: the tag "MRVF", the decoded
// size as 4 bytes little-endian, then a zlib stream of the decoded bytes.
#include "packager/PayloadBuilder.h"

namespace packager {

constexpr char kEngineTag[] = "MRVF";

Bytes EngineEncode(const Bytes& plain);
// False when the data has no tag or does not decode to its stated size.
bool EngineDecode(const uint8_t* data, size_t size, Bytes* plain);

}  // namespace packager
