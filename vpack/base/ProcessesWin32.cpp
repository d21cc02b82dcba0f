#include <stdlib.h>
#include <windows.h>

#include "vpack/base/Processes.h"
#include "vpack/base/SystemPath.h"

namespace vpack {
namespace {

double SecondsSinceEpoch(const FILETIME& time) {
  // FILETIME counts 100 ns steps since 1601.
  ULARGE_INTEGER ticks;
  ticks.LowPart = time.dwLowDateTime;
  ticks.HighPart = time.dwHighDateTime;
  return static_cast<double>(ticks.QuadPart - 116444736000000000ull) / 1e7;
}

}  // namespace

int CurrentProcessId() { return static_cast<int>(GetCurrentProcessId()); }

std::string HostName() {
  wchar_t name[256];
  DWORD length = 256;
  if (!GetComputerNameExW(ComputerNameDnsHostname, name, &length)) return std::string();
  return TextOf(std::filesystem::path(std::wstring(name, length)));
}

double ProcessStartedAt(int pid) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
  if (process == nullptr) return GetLastError() == ERROR_ACCESS_DENIED ? 0 : -1;
  FILETIME created, exited, kernel, user;
  DWORD status = STILL_ACTIVE;
  bool known = GetProcessTimes(process, &created, &exited, &kernel, &user);
  GetExitCodeProcess(process, &status);
  CloseHandle(process);
  // A handle may still open a process that has ended.
  if (status != STILL_ACTIVE) return -1;
  return known ? SecondsSinceEpoch(created) : 0;
}

double FileWrittenAt(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(PathOf(path).c_str(), GetFileExInfoStandard, &data)) return -1;
  return SecondsSinceEpoch(data.ftLastWriteTime);
}

std::string OwnProgram() {
  std::wstring path(32768, L'\0');
  DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
  if (length == 0 || length >= path.size()) return std::string();
  path.resize(length);
  return TextOf(std::filesystem::path(path));
}

// The UTF-16 environment: getenv's is in the ANSI code page.
std::optional<std::string> EnvironmentVariable(const std::string& name) {
  const wchar_t* value = _wgetenv(PathOf(name).c_str());
  return value != nullptr ? std::optional<std::string>(TextOf(std::filesystem::path(value))) : std::nullopt;
}

}  // namespace vpack
