#pragma once
// The engine's packed block: the tag "MRVF", the decoded size (u32 LE), then
// a zlib stream of the decoded bytes.
#include <stddef.h>
#include <stdint.h>

#include <memory>

namespace standin {

constexpr char kEngineBlockTag[4] = {'M', 'R', 'V', 'F'};
constexpr size_t kEngineBlockHeadSize = 8;

bool HasEngineBlockTag(const uint8_t* data, size_t size);

// False when the block has no tag, states a size its stream cannot hold, or
// does not inflate to exactly that size; *out is untouched then.
bool DecodeEngineBlock(const uint8_t* data, size_t size, std::unique_ptr<uint8_t[]>* out, uint32_t* outSize);

}  // namespace standin
