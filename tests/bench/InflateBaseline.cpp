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

#include "payload/ItemLayout.h"
#include "payload/PayloadReader.h"
#include "tests/support/TempDir.h"

namespace {

// Both packed layouts (payload/ItemLayout.h) are a zlib stream and a size.
bool Decode(const uint8_t* data, uint32_t size, std::vector<uint8_t>* out) {
  if (size >= payload::kEngineItemHeadSize && payload::HasEngineTag(data, size)) {
    out->resize(payload::EngineItemStatedSize(data));
    uLongf length = out->size();
    return uncompress(out->data(), &length, data + payload::kEngineItemHeadSize, size - payload::kEngineItemHeadSize) ==
           Z_OK;
  }
  if (size < payload::kZlibItemTrailerSize) return false;
  out->resize(payload::ZlibItemStatedSize(data + size - payload::kZlibItemTrailerSize));
  uLongf length = out->size();
  return uncompress(out->data(), &length, data, size - payload::kZlibItemTrailerSize) == Z_OK;
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
