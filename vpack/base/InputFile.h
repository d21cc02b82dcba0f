#pragma once
// A file vpack reads (a source, the stub, an icon, an installer's image):
// opened for reading, read in pieces, whole or its head, and every failure an
// Error that names what the file is for.
#include <stdint.h>
#include <stdio.h>

#include <string>

#include "packager/PayloadBuilder.h"

namespace vpack {

class InputFile {
 public:
  // what ("stub", "entry: source", or empty) starts the messages, before
  // the quoted path.
  InputFile(const std::string& path, const std::string& what = std::string());
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // Up to count bytes; fewer only at the end of the file.
  size_t Read(uint8_t* out, size_t count);
  // At most count bytes from the start.
  packager::Bytes ReadHead(size_t count);
  // Everything; with the size known, the buffer is allocated once.
  packager::Bytes ReadAll(uint64_t expected = 0);
  // Where the next Read starts.
  void Seek(uint64_t offset);
  // The file's size now.
  uint64_t Size() const;

 private:
  [[noreturn]] void Fail(int error) const;

  std::string path_;
  std::string what_;
  FILE* file_;
};

// The whole file; throws Error naming what the file is for.
packager::Bytes ReadWholeFile(const std::string& path, const std::string& what, uint64_t expected = 0);

}  // namespace vpack
