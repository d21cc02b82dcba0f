// An earlier installation of the same project: the folder it went to, which
// the options dialog offers again, and what it made there, which the new
// uninstall record keeps. The uninstall record itself is in the engine's
// format, which only the engine writes; so the installation keeps the same
// entries beside it, in a plain list of its own ("uninstall.lst": a line
// "F path" per file, "D path" per folder, in the record's list order).
#include <stdlib.h>
#include <string.h>

#include "installer/Installer.h"
#include "payload/InstalledNames.h"
#include "platform/AnsiChars.h"
#include "platform/FileWrite.h"
#include "platform/Registry.h"
#include "platform/ScopedHandle.h"
#include "platform/Text.h"

namespace installer {
namespace {

constexpr char kListName[] = "\\uninstall.lst";
// Far more than thousands of files' lines; a larger file is no list of ours.
constexpr DWORD kMaxList = 64u << 20;
// Lines written at a time: any one line fits, and the stack frame stays
// under the page that would need probing.
constexpr uint32_t kListBlockSize = 2048;
static_assert(kListBlockSize >= kWorkFolderSize + 4, "a line fits a block");

bool Listed(const payload::PointerList& list, const char* path) {
  for (int32_t i = 0; i < list.Count(); ++i) {
    if (text::EqualNoCase(static_cast<const char*>(list.Get(i)), path)) return true;
  }
  return false;
}

bool Exists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

// A heap copy at the end of the list, without a log line: the entry was
// made by an earlier run.
bool Keep(payload::PointerList& list, const char* path) {
  char* copy = text::Duplicate(path);
  if (copy != nullptr && list.Push(copy) >= 0) return true;
  delete[] copy;
  return false;
}

// The whole list file as text in *text, null where there is none; false,
// with the system's reason, where it is there and cannot be read: a record
// made without it would lose what the earlier runs made.
bool ReadList(const char* path, char** text, DWORD* error) {
  *text = nullptr;
  *error = 0;
  platform::ScopedFile file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  LARGE_INTEGER size;
  if (!file.Valid() || !GetFileSizeEx(file.Get(), &size)) {
    *error = GetLastError();
    return !file.Valid() && *error == ERROR_FILE_NOT_FOUND;
  }
  // Far larger than any list of ours: another file of that name, passed over.
  if (size.QuadPart >= kMaxList) return true;
  DWORD count = static_cast<DWORD>(size.QuadPart);
  *text = static_cast<char*>(malloc(count + 1));
  DWORD read = 0;
  if (*text != nullptr && ReadFile(file.Get(), *text, count, &read, nullptr) && read == count) {
    (*text)[count] = '\0';
    return true;
  }
  *error = *text == nullptr ? ERROR_NOT_ENOUGH_MEMORY : GetLastError();
  free(*text);
  *text = nullptr;
  return false;
}

}  // namespace

bool Installer::EarlierFolder(const char* projectName, char* folder) {
  char keyPath[sizeof(payload::kUninstallKey) + kTextFieldSize];
  char command[kPathSize + 20];
  if (!text::Join(keyPath, sizeof(keyPath), payload::kUninstallKey, projectName) ||
      !platform::ReadMachineString(keyPath, "UninstallString", command, sizeof(command))) {
    return false;
  }
  // "\"C:\...\VDLUnInst.exe\"": the uninstaller's folder.
  const char* start = command[0] == '"' ? command + 1 : command;
  const char* last = text::LastSeparator(start);
  size_t length = last != nullptr ? static_cast<size_t>(last - start) : 0;
  if (length < 3 || length >= kPathSize) return false;
  memcpy(folder, start, length);
  folder[length] = '\0';
  return true;
}

// Each entry of the earlier list that is still there and that this run did
// not make joins this run's: files after this run's, folders before (so
// that the record, newest first, still names each folder before its parent).
bool Installer::KeepEarlierEntries(char* list) {
  payload::PointerList folders;
  bool kept = true;
  for (char* line = list; *line != '\0' && kept;) {
    char* end = line;
    while (*end != '\0' && *end != '\r' && *end != '\n') ++end;
    char kind = line[0];
    char* path = line + 2;
    bool next = *end != '\0';
    *end = '\0';
    if (end - line > 2 && line[1] == ' ' && Exists(path)) {
      if (kind == 'F' && !Listed(createdFiles, path)) kept = Keep(createdFiles, path);
      if (kind == 'D' && !Listed(createdFolders, path)) kept = Keep(folders, path);
    }
    line = next ? end + 1 + (end[1] == '\n' ? 1 : 0) : end;
  }
  for (int32_t i = 0; i < createdFolders.Count() && kept; ++i) kept = folders.Push(createdFolders.Get(i)) >= 0;
  if (!kept) return false;
  createdFolders.Clear();
  for (int32_t i = 0; i < folders.Count() && kept; ++i) kept = createdFolders.Push(folders.Get(i)) >= 0;
  return kept;
}

bool Installer::WriteEntryList() {
  char path[kPathSize];
  if (!text::Join(path, sizeof(path), workFolder, kListName)) {
    NoteFailure(FailureKind::kNoRecord, kListName + 1, ERROR_FILENAME_EXCED_RANGE);
    return false;
  }
  char* earlier = nullptr;
  DWORD error = 0;
  if (!ReadList(path, &earlier, &error)) {
    NoteFailure(error == ERROR_NOT_ENOUGH_MEMORY ? FailureKind::kNoMemory : FailureKind::kCopyFailure, path, error);
    return false;
  }
  bool kept = earlier == nullptr || KeepEarlierEntries(earlier);
  free(earlier);
  if (!kept || (!Listed(createdFiles, path) && !Record(createdFiles, path))) {
    NoteFailure(FailureKind::kNoMemory, path, ERROR_NOT_ENOUGH_MEMORY);
    return false;
  }
  platform::OutputFile file(path);
  if (!OpenOutput(file, path)) return false;
  if (!file.Replaces()) NoteNew(path);
  const payload::PointerList* lists[] = {&createdFiles, &createdFolders};
  // Lines gathered into blocks: with thousands of files, a write a line was
  // most of the list's cost.
  char line[kWorkFolderSize + 4];
  char block[kListBlockSize];
  uint32_t used = 0;
  for (int kind = 0; kind < 2; ++kind) {
    for (int32_t i = 0; i < lists[kind]->Count(); ++i) {
      const char* entry = static_cast<const char*>(lists[kind]->Get(i));
      // Every recorded path fits a target's room, and so the line.
      if (!text::Join(line, sizeof(line), kind == 0 ? "F " : "D ", entry, "\r\n")) {
        NoteFailure(FailureKind::kNoRecord, path, ERROR_FILENAME_EXCED_RANGE);
        return false;
      }
      uint32_t length = static_cast<uint32_t>(strlen(line));
      if (length > sizeof(block) - used) {
        if (!WriteOutput(file, path, block, used)) return false;
        used = 0;
      }
      memcpy(block + used, line, length);
      used += length;
    }
  }
  return (used == 0 || WriteOutput(file, path, block, used)) && KeepOutput(file, path);
}

}  // namespace installer
