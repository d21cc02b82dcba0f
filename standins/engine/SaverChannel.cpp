#include "standins/engine/SaverChannel.h"

#include <string>

#include "standins/engine/CallLog.h"

namespace standin {

SaverChannel::SaverChannel() : writer_(WriteToFile, this) {}

bool SaverChannel::WriteToFile(void* context, const uint8_t* data, size_t size) {
  HANDLE file = static_cast<SaverChannel*>(context)->file_;
  while (size > 0) {
    DWORD piece = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(file, data, piece, &written, nullptr) || written == 0) return false;
    data += written;
    size -= written;
  }
  return true;
}

void* ENGINE_CALL SaverChannel::Destroy(uint32_t flags) {
  LogCall("Destroy saver");
  CloseFile();
  if (flags & engine::kDeleteSelf) {
    delete this;
    return nullptr;
  }
  return this;
}

uint8_t ENGINE_CALL SaverChannel::Open(const char* path, uint32_t /*flags*/) {
  CloseFile();
  bool opened = false;
  DWORD error = 0;
  if (path != nullptr) {
    file_ = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    error = GetLastError();
    opened = file_ != INVALID_HANDLE_VALUE && writer_.WriteHeader();
    if (!opened) CloseFile();
  }
  LogCall("Open " + LogText(path) + " -> " + LogFlag(opened));
  // As an engine that opens the file itself leaves it: the system's reason
  // for a file that could not be opened, not the log's.
  if (!opened) SetLastError(error);
  return opened ? 1 : 0;
}

void ENGINE_CALL SaverChannel::BeginChunk(const char* tag) {
  LogCall("BeginChunk " + (tag != nullptr ? chunks::ChunkTagText(chunks::MakeChunkTag(tag)) : LogText(tag)));
  if (file_ != INVALID_HANDLE_VALUE) writer_.BeginChunk(tag);
}

void ENGINE_CALL SaverChannel::SetChunkSize(uint32_t size) {
  LogCall("SetChunkSize " + std::to_string(size));
  if (file_ != INVALID_HANDLE_VALUE) writer_.SetChunkSize(size);
}

void ENGINE_CALL SaverChannel::WriteData(const void* data, uint32_t size) {
  LogCall("WriteData " + std::to_string(size));
  if (file_ != INVALID_HANDLE_VALUE) writer_.WriteData(data, size);
}

void ENGINE_CALL SaverChannel::Close() {
  LogCall("Close");
  CloseFile();
}

void SaverChannel::CloseFile() {
  if (file_ == INVALID_HANDLE_VALUE) return;
  writer_.Finish();
  CloseHandle(file_);
  file_ = INVALID_HANDLE_VALUE;
  // A write that failed in this file must not mark the next one as failed.
  writer_ = chunks::ChunkWriter(WriteToFile, this);
}

}  // namespace standin
