#pragma once
// The engine's packed block: the tag "MRVF", the decoded size (u32 LE), then
// a zlib stream of the decoded bytes.
#include <stddef.h>
#include <stdint.h>

namespace standin {

constexpr char kEngineBlockTag[4] = {'M', 'R', 'V', 'F'};
constexpr size_t kEngineBlockHeadSize = 8;

bool HasEngineBlockTag(const uint8_t* data, size_t size);

// The decoded size a block states; false when it has no tag or states more
// than its stream can hold.
bool EngineBlockSize(const uint8_t* data, size_t size, uint32_t* decodedSize);

// Inflates a block whose size EngineBlockSize accepted into out, which holds
// decodedSize bytes; false unless it inflates to exactly that size.
bool InflateEngineBlock(const uint8_t* data, size_t size, uint8_t* out, uint32_t decodedSize);

}  // namespace standin
