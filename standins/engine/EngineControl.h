#pragma once
// The engine's entry object: checks the host window and the channel units,
// and hands out the channel services.
#include <windows.h>

#include <stdint.h>

#include <string>

#include "engine/EngineInterface.h"

namespace standin {

class ChannelServices;

class EngineControl final : public engine::EngineControl {
 public:
  EngineControl() = default;
  ~EngineControl();
  EngineControl(const EngineControl&) = delete;
  EngineControl& operator=(const EngineControl&) = delete;

  void* ENGINE_CALL Destroy(uint32_t flags) override;
  uint8_t ENGINE_CALL Initialise(HINSTANCE instance, const char* windowClass, HWND window) override;
  engine::ChannelServices* ENGINE_CALL GetChannelServices() override;
  uint8_t ENGINE_CALL SetBaseDirectory(const char* path) override;

 private:
  bool ChannelUnitsPresent() const;

  bool haveBaseDirectory_ = false;
  std::string baseDirectory_;
  ChannelServices* services_ = nullptr;
  HWND window_ = nullptr;
};

}  // namespace standin
