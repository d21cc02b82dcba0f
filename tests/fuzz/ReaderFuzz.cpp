// Fuzz target over the payload reader: directory parsing, the marker search
// and every kind of item read, on whatever file the fuzzer makes.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "payload/Inflate.h"
#include "payload/PayloadReader.h"

namespace {

std::string ScratchPath() {
  const char* dir = getenv("TMPDIR");
  return std::string(dir != nullptr ? dir : "/tmp") + "/vdl-fuzz-" + std::to_string(getpid()) + ".bin";
}

// As the installer inflates a packed item: the size its last four bytes
// state, bounded here so that the fuzzer's claims stay cheap.
void InflateLikeTheInstaller(const uint8_t* data, size_t size) {
  if (size < 4) return;
  const uint8_t* tail = data + size - 4;
  size_t stated = tail[0] | (tail[1] << 8) | (tail[2] << 16) | (static_cast<size_t>(tail[3]) << 24);
  std::vector<uint8_t> out(stated < (1u << 20) ? stated : (1u << 20));
  size_t written = 0;
  payload::InflateZlib(data, size - 4, out.data(), out.size(), &written);
}

void ReadEverything(payload::PayloadReader& reader) {
  std::vector<uint8_t> buffer(4096);
  for (int32_t i = 0; i < reader.EntryCount() && i < 64; ++i) {
    const payload::PayloadEntry* entry = reader.Entry(i);
    int32_t count = entry->size < buffer.size() ? static_cast<int32_t>(entry->size) + (i % 3) : 0;
    reader.ReadItem(entry->name, count > 0 ? buffer.data() : nullptr, count, entry->type);
    if (reader.ReadItem(entry->name, nullptr, 0, entry->type) && reader.DataSize() > 0) {
      // Touch both ends of the block: the sanitizer checks that it is whole.
      volatile uint8_t first = reader.Data()[0];
      volatile uint8_t last = reader.Data()[reader.DataSize() - 1];
      (void)first;
      (void)last;
      InflateLikeTheInstaller(reader.Data(), reader.DataSize());
    }
  }
  uint8_t small[4];
  reader.ReadItem("ProjectType", small, 4, nullptr);
  reader.ReadItem("ChannelCount", small, 4, "CHANNELINFO");
  reader.ReadItem("ProjectName", small, 4, nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = ScratchPath();
  FILE* file = fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  fwrite(data, 1, size, file);
  fclose(file);
  payload::PayloadReader reader(path.c_str());
  ReadEverything(reader);
  // The input as one packed item, so that the fuzzer reaches the inflater
  // directly too.
  InflateLikeTheInstaller(data, size);
  return 0;
}
