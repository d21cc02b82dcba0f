#include "standins/engine/CallLog.h"

#include <windows.h>

#include "standins/engine/EngineSwitches.h"

namespace standin {

void LogCall(const std::string& line) {
  std::string path = EngineVariable("VDL_ENGINE_LOG");
  if (path.empty()) return;
  HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  std::string text = line + "\n";
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

std::string LogText(const char* text) { return text != nullptr ? std::string(text) : std::string("(null)"); }

std::string LogFlag(bool value) { return value ? "1" : "0"; }

}  // namespace standin
