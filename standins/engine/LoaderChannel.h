#pragma once
// The loader channel: holds one block of engine data and what it decodes to.
#include <stdint.h>

#include <memory>

#include "engine/EngineInterface.h"

namespace standin {

class LoaderChannel final : public engine::LoaderChannel {
 public:
  void* ENGINE_CALL Destroy(uint32_t flags) override;
  uint8_t ENGINE_CALL LoadFromMemory(const void* data, uint32_t size, uint32_t keepCallerBlock) override;
  uint8_t ENGINE_CALL CheckTag(const char* tag, uint32_t flags) override;
  const uint8_t* ENGINE_CALL OutputData() override;
  uint32_t ENGINE_CALL OutputSize() override;

  // Called by the channel processor; false when nothing is loaded. Data without the engine tag stays the
  // output as it is; a tagged block that fails to decode leaves the output
  // unchanged and returns false.
  bool Decode();

 private:
  void Forget();

  bool loaded_ = false;
  const uint8_t* input_ = nullptr;
  uint32_t inputSize_ = 0;
  std::unique_ptr<uint8_t[]> inputCopy_;
  std::unique_ptr<uint8_t[]> decoded_;
  uint32_t decodedCapacity_ = 0;
  std::unique_ptr<uint8_t[]> spare_;
  uint32_t spareCapacity_ = 0;
  const uint8_t* output_ = nullptr;
  uint32_t outputSize_ = 0;
};

}  // namespace standin
