#include "standins/engine/ChannelServices.h"

#include <string.h>

#include <new>
#include <string>

#include "standins/engine/CallLog.h"
#include "standins/engine/ChannelProcessor.h"
#include "standins/engine/EngineSwitches.h"
#include "standins/engine/LoaderChannel.h"
#include "standins/engine/SaverChannel.h"

namespace standin {
namespace {

bool SameType(const engine::ChannelTypeId& a, const engine::ChannelTypeId& b) {
  return memcmp(a.words, b.words, sizeof a.words) == 0;
}

engine::Channel* MakeChannel(const char* kind) {
  if (EngineSwitchSet("VDL_ENGINE_REFUSE", kind)) return nullptr;
  if (strcmp(kind, "loader") == 0) return new (std::nothrow) LoaderChannel();
  return new (std::nothrow) SaverChannel();
}

}  // namespace

ChannelServices::ChannelServices() { processor = new (std::nothrow) ChannelProcessor(); }

ChannelServices::~ChannelServices() { delete static_cast<ChannelProcessor*>(processor); }

void* ENGINE_CALL ChannelServices::Destroy(uint32_t /*flags*/) { return this; }

engine::Channel* ENGINE_CALL ChannelServices::CreateChannel(engine::ChannelTypeId type, uint32_t /*reserved1*/,
                                                            uint32_t /*reserved2*/) {
  const char* kind = "unknown";
  if (SameType(type, engine::kLoaderChannelId)) kind = "loader";
  if (SameType(type, engine::kSaverChannelId)) kind = "saver";
  engine::Channel* channel = strcmp(kind, "unknown") != 0 ? MakeChannel(kind) : nullptr;
  LogCall(std::string("CreateChannel ") + kind + (channel == nullptr ? " -> null" : ""));
  return channel;
}

}  // namespace standin
