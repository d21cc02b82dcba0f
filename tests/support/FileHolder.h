#pragma once
// A file held by another program for the life of the object, or until
// Release: mapped as a program image, as a running player holds its plug-in,
// or opened without delete sharing, as a virus scanner does. The holder is
// of the machine under test, as a 32-bit image needs a 32-bit process.
#include <windows.h>

#include <string>

namespace testing_support {

class FileHolder {
 public:
  enum Mode { kImage, kOpen };
  // Holds file for at most ms milliseconds; Holding() says whether it does.
  FileHolder(const std::string& file, Mode mode, DWORD ms);
  ~FileHolder() { Release(); }
  FileHolder(const FileHolder&) = delete;
  FileHolder& operator=(const FileHolder&) = delete;

  bool Holding() const { return process_ != nullptr; }
  // Lets the file go and waits until the holder has ended.
  void Release();

 private:
  std::string marker_;
  HANDLE process_ = nullptr;
};

}  // namespace testing_support
