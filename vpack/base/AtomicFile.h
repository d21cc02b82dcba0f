#pragma once
// Writes a file so that it either appears complete or not at all: the bytes
// go to a temporary file next to the target, which is renamed over the target
// only on Commit. Until then an existing target stays as it was, and the
// temporary is removed when the object goes away or the process is
// interrupted.
#include <stdint.h>

#include <string>

namespace vpack {

class AtomicFile {
 public:
  // Creates the temporary; throws Error when the folder cannot take it.
  explicit AtomicFile(const std::string& target);
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  void Write(const uint8_t* bytes, size_t count);
  // Overwrites bytes already written, at offset from the file's start.
  void WriteAt(uint64_t offset, const uint8_t* bytes, size_t count);
  // Closes the temporary, for another program to work on it before Commit;
  // returns its path.
  const std::string& Close();
  // Flushes the temporary to disk and renames it to the target.
  void Commit();

 private:
  void Discard();
  [[noreturn]] void Fail(const std::string& doing, int error);

  std::string target_;
  std::string temporary_;
  int fd_ = -1;
};

}  // namespace vpack
