#include "standins/engine/LoaderChannel.h"

#include <string.h>

#include <new>
#include <string>

#include "standins/engine/CallLog.h"
#include "standins/engine/EngineBlock.h"

namespace standin {

void* ENGINE_CALL LoaderChannel::Destroy(uint32_t flags) {
  LogCall("Destroy loader");
  Forget();
  if (flags & engine::kDeleteSelf) {
    delete this;
    return nullptr;
  }
  return this;
}

void LoaderChannel::Forget() {
  loaded_ = false;
  input_ = nullptr;
  inputSize_ = 0;
  inputCopy_.reset();
  decoded_.reset();
  output_ = nullptr;
  outputSize_ = 0;
}

uint8_t ENGINE_CALL LoaderChannel::LoadFromMemory(const void* data, uint32_t size, uint32_t keepCallerBlock) {
  LogCall("LoadFromMemory " + std::to_string(size) + " " + std::to_string(keepCallerBlock));
  Forget();
  if (data == nullptr && size != 0) return 0;
  const uint8_t* bytes = static_cast<const uint8_t*>(data);
  if (keepCallerBlock == 0 && size != 0) {
    inputCopy_.reset(new (std::nothrow) uint8_t[size]);
    if (!inputCopy_) return 0;
    memcpy(inputCopy_.get(), data, size);
    bytes = inputCopy_.get();
  }
  loaded_ = true;
  input_ = bytes;
  inputSize_ = size;
  output_ = input_;
  outputSize_ = inputSize_;
  return 1;
}

uint8_t ENGINE_CALL LoaderChannel::CheckTag(const char* tag, uint32_t /*flags*/) {
  bool matches = false;
  if (tag != nullptr && input_ != nullptr && inputSize_ >= kEngineBlockHeadSize) {
    // A tag shorter than four characters must match with its terminator, and
    // nothing past the terminator may be read.
    size_t length = strnlen(tag, 4);
    matches = memcmp(input_, tag, length) == 0 && (length == 4 || input_[length] == '\0');
  }
  LogCall("CheckTag " + LogText(tag) + " -> " + LogFlag(matches));
  return matches ? 1 : 0;
}

const uint8_t* ENGINE_CALL LoaderChannel::OutputData() {
  LogCall("OutputData");
  return output_;
}

uint32_t ENGINE_CALL LoaderChannel::OutputSize() {
  LogCall("OutputSize " + std::to_string(outputSize_));
  return outputSize_;
}

bool LoaderChannel::Decode() {
  if (!loaded_) return false;
  if (!HasEngineBlockTag(input_, inputSize_)) return true;
  std::unique_ptr<uint8_t[]> decoded;
  uint32_t decodedSize = 0;
  if (!DecodeEngineBlock(input_, inputSize_, &decoded, &decodedSize)) return false;
  decoded_ = std::move(decoded);
  output_ = decoded_.get();
  outputSize_ = decodedSize;
  return true;
}

}  // namespace standin
