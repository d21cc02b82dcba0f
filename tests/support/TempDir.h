#pragma once
#include <set>
#include <string>

namespace testing_support {

// A fresh folder below the temporary folder, removed with all it holds when
// the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& Path() const { return path_; }
  // Path + "\" + name.
  std::string File(const std::string& name) const;

 private:
  std::string path_;
};

void RemoveTree(const std::string& path);
bool FileExists(const std::string& path);
bool WriteFileBytes(const std::string& path, const void* data, size_t size);
std::string ReadFileBytes(const std::string& path);
#ifdef _WIN32
// Every name below a folder, folders too, each relative to it ("a\\b.txt").
std::set<std::string> NamesBelow(const std::string& folder);
// The folders a folder holds itself, by name.
std::set<std::string> FoldersIn(const std::string& folder);
#endif

}  // namespace testing_support
