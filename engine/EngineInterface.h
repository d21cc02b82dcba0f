#pragma once
// The engine DLL's objects, declared the way the engine's compiler lays them
// out: single inheritance, the table of virtual operations starting with the
// deleting destructor (one slot, called with 1 to delete), then the listed
// operations in order, all in the platform's member calling convention.
// Nothing here may rely on g++'s own virtual destructors, which take two slots.
#include <stdint.h>
#include <windows.h>

#if defined(__i386__)
#define ENGINE_CALL __attribute__((thiscall))
#else
#define ENGINE_CALL
#endif

namespace engine {

// Channel type ids travel by value as four 32-bit words.
struct ChannelTypeId {
  uint32_t words[4];
};

constexpr ChannelTypeId kLoaderChannelId = {{0x6A1C3E59u, 0x42F7B0D3u, 0x9E5D2C81u, 0x17B4F06Au}};
constexpr ChannelTypeId kSaverChannelId = {{0x2E93D74Bu, 0x4C60A1F8u, 0xB3170E5Cu, 0x5DA9C624u}};

constexpr uint32_t kDeleteSelf = 1;

class Channel {
 public:
  virtual void* ENGINE_CALL Destroy(uint32_t flags) = 0;
};

class LoaderChannel : public Channel {
 public:
  // keepCallerBlock 1: the block stays the caller's and must outlive decoding.
  virtual uint8_t ENGINE_CALL LoadFromMemory(const void* data, uint32_t size, uint32_t keepCallerBlock) = 0;
  virtual uint8_t ENGINE_CALL CheckTag(const char* tag, uint32_t flags) = 0;
  virtual const uint8_t* ENGINE_CALL OutputData() = 0;
  virtual uint32_t ENGINE_CALL OutputSize() = 0;
};

class SaverChannel : public Channel {
 public:
  virtual uint8_t ENGINE_CALL Open(const char* path, uint32_t flags) = 0;
  virtual void ENGINE_CALL BeginChunk(const char* tag) = 0;
  virtual void ENGINE_CALL SetChunkSize(uint32_t size) = 0;
  virtual void ENGINE_CALL WriteData(const void* data, uint32_t size) = 0;
  virtual void ENGINE_CALL Close() = 0;
};

class ChannelProcessor {
 public:
  virtual void* ENGINE_CALL Destroy(uint32_t flags) = 0;
  virtual uint8_t ENGINE_CALL Process(LoaderChannel* channel) = 0;
};

class ChannelServices {
 public:
  virtual void* ENGINE_CALL Destroy(uint32_t flags) = 0;
  virtual Channel* ENGINE_CALL CreateChannel(ChannelTypeId type, uint32_t reserved1, uint32_t reserved2) = 0;

  ChannelProcessor* processor;
};

class EngineControl {
 public:
  virtual void* ENGINE_CALL Destroy(uint32_t flags) = 0;
  virtual uint8_t ENGINE_CALL Initialise(HINSTANCE instance, const char* windowClass, HWND window) = 0;
  virtual ChannelServices* ENGINE_CALL GetChannelServices() = 0;
  virtual uint8_t ENGINE_CALL SetBaseDirectory(const char* path) = 0;
};

// The DLL's one export, looked up by this name.
using GetEngineControlInstanceFn = EngineControl* (*)();
constexpr char kEngineExportName[] = "GetEngineControlInstance";

}  // namespace engine
