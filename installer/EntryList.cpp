// The list beside the uninstall record ("uninstall.lst": a line "F path" per
// file, "D path" per folder, in the record's list order). The record itself
// is in the engine's format, which only the engine writes; the list is what
// the next installation over this one reads back, so that the new record
// keeps what every earlier run made. Anyone who can write the installation
// folder can edit it, and the uninstaller, often run as an administrator,
// removes what the record names: so a line is taken only where it names a
// place of this installation's own.
#include <stdlib.h>
#include <string.h>

#include "installer/Installer.h"
#include "payload/InstalledNames.h"
#include "platform/Log.h"
#include "platform/PathSet.h"
#include "platform/ScopedHandle.h"
#include "platform/Text.h"

namespace installer {
namespace {

// Far more than the lines of a hundred thousand files; larger, it is no
// list this installer wrote, and the earlier entries cannot be known.
constexpr DWORD kMaxList = 64u << 20;
// Lines written at a time: any one line fits, and the stack frame stays
// under the page that would need probing.
constexpr uint32_t kListBlockSize = 2048;
static_assert(kListBlockSize >= kWorkFolderSize + 4, "a line fits a block");
constexpr int kKeyChars = 2 * MAX_PATH;
// Lines merged between two answers of the windows.
constexpr int kLinesPerAnswer = 256;

// A folder whose places the list may name, as compared.
struct Place {
  wchar_t key[kKeyChars];
  int length;  // -1: none
};

void SetPlace(Place& place, const char* folder) {
  place.length = folder[0] != '\0' ? platform::PathKey(folder, place.key, kKeyChars, true) : -1;
}

// The folder below a place that was last found free of links, so that the
// files of one folder ask the system once.
struct Checked {
  wchar_t key[kKeyChars];
  int length;
};

bool HasDots(const wchar_t* normal, int length) {
  for (int i = 0, start = 0; i <= length; ++i) {
    if (i < length && normal[i] != L'\\') continue;
    int name = i - start;
    if (normal[start] == L'.' && (name == 1 || (name == 2 && normal[start + 1] == L'.'))) return true;
    start = i + 1;
  }
  return false;
}

// Where key lies: the length of the place it is below (a file strictly, a
// folder or the place itself), 0 for a folder above the installation
// folder (one that an earlier run made on the way to it, removed only
// empty), -1 for anywhere else.
int PlaceOf(const wchar_t* key, int length, bool folder, const Place* places, int count) {
  for (int i = 0; i < count; ++i) {
    if (platform::KeyUnder(key, length, places[i].key, places[i].length) &&
        (folder || length > places[i].length)) {
      return places[i].length;
    }
  }
  // Longer than a drive's or a share's root, which no installation makes.
  bool above = folder && length > 3 && platform::KeyUnder(places[0].key, places[0].length, key, length);
  return above ? 0 : -1;
}

// Whether path, a file or (folder) a folder that is there, lies in one of
// the places, with no "." or ".." in it and no junction or link among the
// folders below the place or itself: a planted link would make any place of
// the machine lie below the installation.
bool Contained(const char* path, bool folder, const Place* places, int count, Checked& checked) {
  wchar_t normal[kKeyChars];
  wchar_t key[kKeyChars];
  int length = platform::PathKey(path, normal, kKeyChars, false);
  if (length <= 0 || HasDots(normal, length)) return false;
  // The compared form is the written one in upper case, letter for letter.
  memcpy(key, normal, (length + 1) * sizeof(wchar_t));
  CharUpperBuffW(key, static_cast<DWORD>(length));
  int place = PlaceOf(key, length, folder, places, count);
  if (place < 0) return false;
  DWORD attributes = GetFileAttributesW(normal);
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ||
      ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) != folder) {
    return false;
  }
  if (place == 0 || length == place) return true;
  int parent = length;
  while (normal[parent] != L'\\') --parent;
  if (checked.length == parent && memcmp(checked.key, key, parent * sizeof(wchar_t)) == 0) return true;
  for (int i = place + 1; i < parent + 1; ++i) {
    if (normal[i] != L'\\') continue;
    normal[i] = 0;
    attributes = GetFileAttributesW(normal);
    normal[i] = L'\\';
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return false;
  }
  memcpy(checked.key, key, parent * sizeof(wchar_t));
  checked.length = parent;
  return true;
}

// The whole list file as text in *text, null where there is none; false,
// with the system's reason, where it is there and cannot be read whole: a
// record made without it would lose what the earlier runs made.
bool ReadList(const char* path, char** text, DWORD* error) {
  *text = nullptr;
  *error = 0;
  platform::ScopedFile file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  LARGE_INTEGER size;
  if (!file.Valid() || !GetFileSizeEx(file.Get(), &size)) {
    *error = GetLastError();
    return !file.Valid() && *error == ERROR_FILE_NOT_FOUND;
  }
  if (size.QuadPart >= kMaxList) {
    *error = ERROR_FILE_TOO_LARGE;
    return false;
  }
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

// The next line of text in place, its end made a terminator; null at the end.
char* NextLine(char** text) {
  char* line = *text;
  if (*line == '\0') return nullptr;
  char* end = line;
  while (*end != '\0' && *end != '\r' && *end != '\n') ++end;
  *text = end;
  if (*end == '\0') return line;
  *text = end + 1 + (end[0] == '\r' && end[1] == '\n' ? 1 : 0);
  *end = '\0';
  return line;
}

}  // namespace

bool Installer::AddAll(platform::PathSet& set, const payload::PointerList& list) {
  for (int32_t i = 0; i < list.Count(); ++i) {
    if (set.Add(static_cast<const char*>(list.Get(i))) == platform::PathSet::Added::kNoMemory) return false;
  }
  return true;
}

// Each entry of the earlier list that is still there, that this run did not
// make and that lies in one of the installation's own places joins this
// run's: files after this run's, folders in keptFolders (written before
// this run's, so that the record, newest first, still names each folder
// before its parent).
bool Installer::KeepEarlierEntries(char* list, platform::PathSet& files) {
  platform::PathSet folders;
  Place places[2];
  SetPlace(places[0], workFolder);
  SetPlace(places[1], menuFolder);
  Checked checked = {{0}, -1};
  bool kept = AddAll(files, createdFiles) && AddAll(folders, createdFolders);
  int lines = 0;
  for (char* line = NextLine(&list); line != nullptr && kept; line = NextLine(&list)) {
    if (++lines % kLinesPerAnswer == 0) KeepWindowsAnswering();
    bool folder = line[0] == 'D';
    const char* path = line + 2;
    if ((line[0] != 'F' && !folder) || line[1] != ' ' || *path == '\0') continue;
    // Held by reference while the text is there, as long as the merge.
    platform::PathSet::Added added = (folder ? folders : files).Add(path);
    if (added == platform::PathSet::Added::kNoMemory) return false;
    if (added == platform::PathSet::Added::kThere) continue;
    if (!Contained(path, folder, places, 2, checked)) {
      // Gone since, or not this installation's: the record does not name it.
      if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) logfile::Line("Passed over", path);
      continue;
    }
    // No log line: an earlier run made it.
    kept = PushCopy(folder ? keptFolders : createdFiles, path);
  }
  return kept;
}

bool Installer::MergeEarlierList(const char* path, const char* configuration) {
  char* earlier = nullptr;
  DWORD error = 0;
  if (!ReadList(path, &earlier, &error)) {
    NoteFailure(error == ERROR_NOT_ENOUGH_MEMORY ? FailureKind::kNoMemory : FailureKind::kCopyFailure, path, error);
    return false;
  }
  // The list and the configuration file are this run's too, named last.
  platform::PathSet files;
  bool kept = files.Add(path) != platform::PathSet::Added::kNoMemory &&
              (configuration == nullptr || files.Add(configuration) != platform::PathSet::Added::kNoMemory) &&
              (earlier == nullptr || KeepEarlierEntries(earlier, files));
  free(earlier);
  if (!kept) NoteFailure(FailureKind::kNoMemory, path, ERROR_NOT_ENOUGH_MEMORY);
  return kept;
}

bool Installer::WriteEntryList(const char* path) {
  platform::OutputFile file(path);
  if (!OpenOutput(file, path)) return false;
  const payload::PointerList* lists[] = {&createdFiles, &keptFolders, &createdFolders};
  // Lines gathered into blocks: with thousands of files, a write a line was
  // most of the list's cost.
  char line[kWorkFolderSize + 4];
  char block[kListBlockSize];
  uint32_t used = 0;
  for (int kind = 0; kind < 3; ++kind) {
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
