// A stand-in for the viewer that installed projects run on. It records how it
// was started and what it found, leaves "channel.lst" behind as the real one
// does, and can be told to stay a while or leave a file of its own.
//   VDL_VIEWER_LOG    file to append its lines to
//   VDL_VIEWER_STAY   milliseconds to stay alive
//   VDL_VIEWER_HOLD   a file whose appearance it waits for (two minutes at most)
//   VDL_VIEWER_LEAVE  relative path of an extra file to leave behind
// Built with VDL_TRY_VIEWER, it is the kit's try-out viewer: it also tells
// whoever tried the kit that it ran, and on what, in a box that closes by
// itself, so that a run in place is not kept waiting by nobody.
#include <windows.h>

#include <stdlib.h>
#include <string.h>

#include <string>

#include "standins/viewer/FolderListing.h"
#include "standins/viewer/ViewerLog.h"

namespace {

std::string CurrentFolder() {
  char folder[MAX_PATH];
  DWORD length = GetCurrentDirectoryA(sizeof(folder), folder);
  return length > 0 && length < sizeof(folder) ? std::string(folder, length) : std::string();
}

void WriteFileText(const std::string& path, const char* text) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, text, static_cast<DWORD>(strlen(text)), &written, nullptr);
  CloseHandle(file);
}

// Makes the folders on the way, then the file.
void LeaveFile(const std::string& folder, const std::string& relative) {
  for (size_t slash = relative.find('\\'); slash != std::string::npos; slash = relative.find('\\', slash + 1)) {
    CreateDirectoryA((folder + "\\" + relative.substr(0, slash)).c_str(), nullptr);
  }
  WriteFileText(folder + "\\" + relative, "left behind by the viewer\n");
}

#ifdef VDL_TRY_VIEWER
// A box the system closes after ms; MessageBoxTimeoutA has been in user32
// since Windows XP without a header of its own.
void TellThatItRan(const std::string& folder) {
  using TimedBox = int(WINAPI*)(HWND, LPCSTR, LPCSTR, UINT, WORD, DWORD);
  constexpr DWORD kShownMs = 15000;
  HMODULE user = LoadLibraryA("user32.dll");
  FARPROC found = user != nullptr ? GetProcAddress(user, "MessageBoxTimeoutA") : nullptr;
  auto box = reinterpret_cast<TimedBox>(reinterpret_cast<void*>(found));
  std::string text = "The kit's try-out viewer ran: " + std::string(GetCommandLineA()) + "\nin " + folder +
                     "\n\nYour own viewer shows your project here. This box closes by itself.";
  if (box != nullptr) box(nullptr, text.c_str(), "Vandrel try-out viewer", MB_OK | MB_ICONINFORMATION, 0, kShownMs);
}
#endif

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  std::string folder = CurrentFolder();
  char program[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, program, sizeof(program));
  viewer::LogLine("Viewer start");
  viewer::LogLine(std::string("Viewer command ") + GetCommandLineA());
  viewer::LogLine("Viewer program " + std::string(program, length < sizeof(program) ? length : 0));
  viewer::LogLine("Viewer folder " + folder);
  // Reading every file costs time a benchmark must not pay: only with a log.
  if (!viewer::Variable("VDL_VIEWER_LOG").empty()) viewer::LogFilesBelow(folder);
  WriteFileText(folder + "\\channel.lst", "channels seen by the viewer\n");
  std::string leave = viewer::Variable("VDL_VIEWER_LEAVE");
  if (!leave.empty()) LeaveFile(folder, leave);
  std::string stay = viewer::Variable("VDL_VIEWER_STAY");
  if (!stay.empty()) Sleep(static_cast<DWORD>(strtoul(stay.c_str(), nullptr, 10)));
  std::string hold = viewer::Variable("VDL_VIEWER_HOLD");
  for (int i = 0; !hold.empty() && i < 1200 && GetFileAttributesA(hold.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) {
    Sleep(100);
  }
#ifdef VDL_TRY_VIEWER
  TellThatItRan(folder);
#endif
  viewer::LogLine("Viewer end");
  return 0;
}
