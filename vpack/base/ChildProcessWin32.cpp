#include <windows.h>

#include "vpack/base/ChildProcess.h"
#include "vpack/base/Error.h"
#include "vpack/base/SystemPath.h"

namespace vpack {
namespace {

// One argument as the C runtime's command-line parser takes it back:
// quotes around it, backslashes doubled only before a quote.
std::wstring Argument(const std::wstring& text) {
  if (!text.empty() && text.find_first_of(L" \t\"") == std::wstring::npos) return text;
  std::wstring quoted = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : text) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  return quoted.append(2 * backslashes, L'\\') + L"\"";
}

std::string SystemMessage(DWORD code) {
  wchar_t* text = nullptr;
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                 code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string message = text != nullptr ? TextOf(std::filesystem::path(text)) : "error " + std::to_string(code);
  LocalFree(text);
  return LastLine(message);
}

// stderr into a pipe that vpack reads, stdout to NUL, stdin vpack's own.
ChildOutcome Start(const std::string& program, std::wstring commandLine, const std::string& folder) {
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) throw Error("cannot start a command: no pipe");
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  HANDLE null = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = null;
  startup.hStdError = writeEnd;
  PROCESS_INFORMATION process{};
  std::wstring where = folder.empty() ? std::wstring() : PathOf(folder).wstring();
  BOOL started = CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                                where.empty() ? nullptr : where.c_str(), &startup, &process);
  DWORD startError = GetLastError();
  CloseHandle(writeEnd);
  if (null != INVALID_HANDLE_VALUE) CloseHandle(null);
  ChildOutcome outcome;
  if (!started) {
    CloseHandle(readEnd);
    outcome.ending = "cannot start its program " + Quoted(program);
    outcome.lastError = SystemMessage(startError);
    return outcome;
  }
  std::string errors;
  char buffer[4096];
  for (DWORD got = 0; ReadFile(readEnd, buffer, sizeof(buffer), &got, nullptr) && got > 0;) {
    errors.append(buffer, got);
    // Only the end matters; a chatty tool must not fill memory.
    if (errors.size() > 65536) errors.erase(0, errors.size() - 16384);
  }
  CloseHandle(readEnd);
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD status = 1;
  GetExitCodeProcess(process.hProcess, &status);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  outcome.succeeded = status == 0;
  outcome.ending = "exited with status " + std::to_string(status);
  outcome.lastError = LastLine(errors);
  return outcome;
}

}  // namespace

ChildOutcome RunChild(const std::vector<std::string>& arguments, const std::string& folder) {
  if (arguments.empty()) throw Error("cannot start a command: none given");
  std::wstring commandLine;
  for (const std::string& argument : arguments) {
    commandLine += (commandLine.empty() ? L"" : L" ") + Argument(PathOf(argument).wstring());
  }
  return Start(arguments[0], commandLine, folder);
}

ChildOutcome RunShell(const std::string& text, const std::string& folder) {
  // The system's cmd.exe by its full path: by name alone, Windows would
  // first look beside vpack.exe and in the current folder, where anyone who
  // can write a file would choose what runs.
  wchar_t system[MAX_PATH];
  UINT length = GetSystemDirectoryW(system, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) throw Error("cannot find the system's cmd.exe");
  std::wstring shell = L"\"" + std::wstring(system, length) + L"\\cmd.exe\"";
  // /s: cmd takes what is between the outer quotes as it stands.
  return Start("cmd.exe", shell + L" /d /s /c \"" + PathOf(text).wstring() + L"\"", folder);
}

std::string ShellQuoted(const std::string& path) { return "\"" + path + "\""; }

}  // namespace vpack
