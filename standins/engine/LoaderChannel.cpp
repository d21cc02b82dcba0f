#include "standins/engine/LoaderChannel.h"

#include <string.h>

#include <new>
#include <string>
#include <utility>

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
  // The decoded block's memory is kept for the next one, as an engine keeps
  // its buffers: fresh memory for every block costs more than decoding it.
  if (decoded_ && (!spare_ || decodedCapacity_ > spareCapacity_)) {
    spare_ = std::move(decoded_);
    spareCapacity_ = decodedCapacity_;
  }
  decoded_.reset();
  decodedCapacity_ = 0;
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
  uint32_t decodedSize = 0;
  if (!EngineBlockSize(input_, inputSize_, &decodedSize)) return false;
  // The spare buffer is never the current output, so a failed decode into it
  // leaves the output as it was.
  uint32_t needed = decodedSize == 0 ? 1 : decodedSize;
  if (!spare_ || spareCapacity_ < needed) {
    spare_.reset(new (std::nothrow) uint8_t[needed]);
    spareCapacity_ = spare_ ? needed : 0;
    if (!spare_) return false;
  }
  if (!InflateEngineBlock(input_, inputSize_, spare_.get(), decodedSize)) return false;
  std::swap(decoded_, spare_);
  std::swap(decodedCapacity_, spareCapacity_);
  output_ = decoded_.get();
  outputSize_ = decodedSize;
  return true;
}

}  // namespace standin
