// Run by the host build before the Windows builds: the English texts,
// deflated, as a header the stub compiles in. The stub inflates them the
// first time it shows one, with the inflater it carries for the payload
// anyway; deflated they take a third of their bytes in the i686 stub.
//   pack_english OUTPUT
#include <stdio.h>
#include <string.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "payload/Inflate.h"
#include "payload/Texts.h"

namespace {

std::string Header(const std::vector<Bytef>& packed, size_t size) {
  std::string text =
      "// Made by the host build from payload/TextList.h (cmake/PackEnglish.cpp).\n"
      "#pragma once\n#include <stdint.h>\n\nnamespace texts {\n\n";
  text += "constexpr uint32_t kEnglishSize = " + std::to_string(size) + ";\n";
  text += "inline constexpr uint8_t kEnglishPacked[] = {";
  for (size_t i = 0; i < packed.size(); ++i) {
    text += i % 16 == 0 ? "\n   " : "";
    text += " " + std::to_string(packed[i]) + ",";
  }
  return text + "\n};\n\n}  // namespace texts\n";
}

// The stub's own inflater must give the texts back, byte for byte: a
// header it could not read fails the build, not an installation.
bool RoundTrips(const std::vector<Bytef>& packed, size_t size) {
  std::vector<uint8_t> back(size);
  size_t written = 0;
  return payload::InflateZlib(packed.data(), packed.size(), back.data(), back.size(), &written) && written == size &&
         memcmp(back.data(), texts::kEnglish, size) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: pack_english OUTPUT\n");
    return 2;
  }
  size_t size = 0;
  for (int i = 0; i < texts::kTextCount; ++i) size += strlen(texts::kEnglish + size) + 1;
  uLongf packedSize = compressBound(size);
  std::vector<Bytef> packed(packedSize);
  if (compress2(packed.data(), &packedSize, reinterpret_cast<const Bytef*>(texts::kEnglish), size, 9) != Z_OK) {
    fprintf(stderr, "pack_english: zlib could not deflate the texts\n");
    return 1;
  }
  packed.resize(packedSize);
  if (!RoundTrips(packed, size)) {
    fprintf(stderr, "pack_english: the stub's inflater does not give the texts back\n");
    return 1;
  }
  // Written beside and moved into place: a build stopped half way leaves
  // the last whole header, never a cut one.
  std::string part = std::string(argv[1]) + ".part";
  FILE* file = fopen(part.c_str(), "wb");
  std::string text = Header(packed, size);
  bool written = file != nullptr && fwrite(text.data(), 1, text.size(), file) == text.size();
  if (file != nullptr && fclose(file) != 0) written = false;
  if (!written || rename(part.c_str(), argv[1]) != 0) {
    fprintf(stderr, "pack_english: cannot write %s\n", argv[1]);
    remove(part.c_str());
    return 1;
  }
  return 0;
}
