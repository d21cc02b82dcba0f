#pragma once
// Makes the channels and owns the channel processor.
#include <stdint.h>

#include "engine/EngineInterface.h"

namespace standin {

class ChannelServices final : public engine::ChannelServices {
 public:
  ChannelServices();
  ~ChannelServices();
  ChannelServices(const ChannelServices&) = delete;
  ChannelServices& operator=(const ChannelServices&) = delete;

  // Owned by the engine control: a request to destroy it is ignored, so
  // that a caller cannot free it under its owner.
  void* ENGINE_CALL Destroy(uint32_t flags) override;
  // A loader or saver channel, owned by the caller; null for other types
  // and for the types named in VDL_ENGINE_REFUSE.
  engine::Channel* ENGINE_CALL CreateChannel(engine::ChannelTypeId type, uint32_t reserved1,
                                             uint32_t reserved2) override;
};

}  // namespace standin
