#include "vpack/base/InputFile.h"

#include <errno.h>
#include <string.h>

#include "vpack/base/Error.h"
#include "vpack/base/SystemPath.h"

namespace vpack {

InputFile::InputFile(const std::string& path, const std::string& what)
    : path_(path), what_(what), file_(OpenFile(path, "rb")) {
  if (file_ == nullptr) Fail(errno);
}

InputFile::~InputFile() {
  if (file_ != nullptr) fclose(file_);
}

void InputFile::Fail(int error) const {
  std::string message = (what_.empty() ? "" : what_ + " ") + Quoted(path_) + " cannot be read";
  throw Error(error != 0 ? message + ": " + strerror(error) : message);
}

size_t InputFile::Read(uint8_t* out, size_t count) {
  size_t got = fread(out, 1, count, file_);
  if (got < count && ferror(file_)) Fail(errno);
  return got;
}

void InputFile::Seek(uint64_t offset) {
  if (!SeekFile(file_, offset)) Fail(errno);
}

uint64_t InputFile::Size() const {
  int64_t size = FileSizeOf(file_);
  if (size < 0) Fail(errno);
  return static_cast<uint64_t>(size);
}

packager::Bytes InputFile::ReadHead(size_t count) {
  packager::Bytes head(count);
  head.resize(Read(head.data(), head.size()));
  return head;
}

packager::Bytes InputFile::ReadAll(uint64_t expected) {
  packager::Bytes bytes;
  bytes.reserve(expected);
  uint8_t chunk[64 * 1024];
  for (size_t got; (got = Read(chunk, sizeof(chunk))) > 0;) bytes.insert(bytes.end(), chunk, chunk + got);
  return bytes;
}

packager::Bytes ReadWholeFile(const std::string& path, const std::string& what, uint64_t expected) {
  return InputFile(path, what).ReadAll(expected);
}

}  // namespace vpack
