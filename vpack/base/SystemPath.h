#pragma once
// vpack holds every path as UTF-8 text, on Windows too, where the system
// names files in UTF-16: these are the only places where text becomes a name
// the system opens, so that a name outside the ANSI code page still opens.
#include <stdint.h>
#include <stdio.h>

#include <filesystem>
#include <string>

namespace vpack {

std::filesystem::path PathOf(const std::string& utf8);
std::string TextOf(const std::filesystem::path& path);

// fopen with a UTF-8 name; nullptr and errno as fopen.
FILE* OpenFile(const std::string& utf8, const char* mode);
// Moves seek to offset and tells the open file's size, for files beyond 2 GiB.
bool SeekFile(FILE* file, uint64_t offset);
int64_t FileSizeOf(FILE* file);

// Replaces to with from, whole, or leaves both as they were and sets errno.
bool MoveOver(const std::string& from, const std::string& to);
// The C library's error number for a reason the payload reader gives: the
// number itself on Linux, Windows' own error code in vpack.exe.
int ErrorNumberOf(uint32_t reason);

// Removes a file; false when it cannot.
bool RemoveFile(const std::string& utf8);

// Whether path itself is a link of any kind: a symbolic link, and on Windows
// any reparse point (a junction too), asked of the system itself, as the
// C++ library's symlink_status does not tell them on Windows.
bool IsLink(const std::filesystem::path& path);
// The path with every link resolved, as the system opens it; empty and
// error set when it leads nowhere.
std::filesystem::path ResolvedPath(const std::filesystem::path& path, std::error_code& error);

}  // namespace vpack
