#pragma once
// The saver channel: writes what it is given to a chunk file.
#include <windows.h>

#include <stdint.h>

#include "engine/EngineInterface.h"
#include "standins/chunks/ChunkWriter.h"

namespace standin {

class SaverChannel final : public engine::SaverChannel {
 public:
  SaverChannel();

  void* ENGINE_CALL Destroy(uint32_t flags) override;
  // Opening while open finishes the current file first.
  uint8_t ENGINE_CALL Open(const char* path, uint32_t flags) override;
  // These are ignored while no file is open.
  void ENGINE_CALL BeginChunk(const char* tag) override;
  void ENGINE_CALL SetChunkSize(uint32_t size) override;
  void ENGINE_CALL WriteData(const void* data, uint32_t size) override;
  void ENGINE_CALL Close() override;

 private:
  static bool WriteToFile(void* context, const uint8_t* data, size_t size);
  void CloseFile();

  HANDLE file_ = INVALID_HANDLE_VALUE;
  chunks::ChunkWriter writer_;
};

}  // namespace standin
