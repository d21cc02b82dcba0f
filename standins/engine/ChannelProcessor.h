#pragma once
// Decodes what a loader channel holds.
#include <stdint.h>

#include "engine/EngineInterface.h"

namespace standin {

class ChannelProcessor final : public engine::ChannelProcessor {
 public:
  // Owned by the channel services: a request to destroy it is ignored, so
  // that a caller cannot free it under its owner.
  void* ENGINE_CALL Destroy(uint32_t flags) override;
  // The channel must be one this engine made.
  uint8_t ENGINE_CALL Process(engine::LoaderChannel* channel) override;
};

}  // namespace standin
