// The benchmark's baseline: what extraction cannot beat. Reads an
// installer's items with the stub's own reader, inflates the packed ones and
// decodes the engine-format ones with zlib, and writes each to a folder, as
// the stub does, but with nothing else around it.
//   InflateBaseline INSTALLER FOLDER
#include <windows.h>
#include <zlib.h>

#include <stdio.h>

#include <string>
#include <vector>

#include "payload/PayloadReader.h"
#include "tests/support/TempDir.h"

namespace {

uint32_t U32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }

// Packed: zlib stream and size trailer. Engine format: "MRVF", size, zlib.
bool Decode(const uint8_t* data, uint32_t size, std::vector<uint8_t>* out) {
  if (size >= 8 && memcmp(data, "MRVF", 4) == 0) {
    out->resize(U32(data + 4));
    uLongf length = out->size();
    return uncompress(out->data(), &length, data + 8, size - 8) == Z_OK;
  }
  if (size < 4) return false;
  out->resize(U32(data + size - 4));
  uLongf length = out->size();
  return uncompress(out->data(), &length, data, size - 4) == Z_OK;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: InflateBaseline INSTALLER FOLDER\n");
    return 2;
  }
  payload::PayloadReader reader(argv[1]);
  CreateDirectoryA(argv[2], nullptr);
  std::vector<uint8_t> plain;
  int files = 0;
  for (int32_t i = 0; i < reader.EntryCount(); ++i) {
    const payload::PayloadEntry* entry = reader.Entry(i);
    if (strcmp(entry->type, "APPDATA") != 0 || entry->size < 64) continue;
    if (!reader.ReadItem(entry->name, nullptr, 0, entry->type)) return 1;
    if (!Decode(reader.Data(), reader.DataSize(), &plain)) continue;
    if (!testing_support::WriteFileBytes(std::string(argv[2]) + "\\" + std::to_string(files++), plain.data(), plain.size())) return 1;
  }
  printf("%d files\n", files);
  return 0;
}
