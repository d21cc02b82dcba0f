#pragma once
// The system's side of AtomicFile: C library file descriptors opened by
// UTF-8 names, and the one temporary an interrupt removes. Failures return
// -1 (or false) with errno set.
#include <stddef.h>
#include <stdint.h>

#include <string>

namespace vpack {

// Creates path, which must not exist yet, for writing.
int CreateNewFile(const std::string& path);
// Opens the closed temporary again so that its bytes can be flushed.
int OpenToFlush(const std::string& path);
// Writes some of count bytes, at offset or at the end; how many, or -1.
int64_t WriteSome(int fd, const uint8_t* bytes, size_t count);
int64_t WriteSomeAt(int fd, uint64_t offset, const uint8_t* bytes, size_t count);
bool FlushFile(int fd);
bool CloseFile(int fd);

// The file an interrupt (Ctrl+C, a kill) removes before vpack ends.
void SetPending(const std::string& path);
void ClearPending();

// Why the temporary could not replace the target, for the message.
std::string ReplaceProblem(int error);

}  // namespace vpack
