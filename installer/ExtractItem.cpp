// One payload item to one file below the working folder.
#include <string.h>

#include "installer/Installer.h"
#include "payload/EngineFiles.h"
#include "payload/ItemName.h"
#include "platform/AnsiChars.h"
#include "platform/FileWrite.h"
#include "platform/Message.h"
#include "platform/Text.h"

namespace installer {

bool Installer::ExtractItem(const char* name, uint8_t decode, bool* empty) {
  // Found once, here: whether a listed item is there and where to read it.
  const payload::PayloadEntry* entry = Item(name);
  if (entry == nullptr && cursor.inList) return true;
  char target[kWorkFolderSize];
  DWORD refused = name != nullptr ? TargetPath(name, target) : ERROR_INVALID_NAME;
  if (refused != 0) {
    // A name the installer will not write is a copy failure of no reason,
    // but for a path too long.
    NoteFailure(FailureKind::kCopyFailure, name, refused == ERROR_FILENAME_EXCED_RANGE ? refused : 0);
    return false;
  }
  CreateMissingFolders(target);
  // Only what the engine decodes is held whole: its interface takes one
  // block. Everything else is written as it is read.
  DWORD error = 0;
  Extracted why = Extracted::kUnread;
  if (decode == 0 || loaderChannel == nullptr) {
    why = ExtractStreamed(entry, target, decode != 0, &error);
  } else if (ReadFound(entry, nullptr, 0)) {
    const uint8_t* bytes = nullptr;
    uint32_t count = 0;
    Decode(itemData, itemSize, &bytes, &count);
    why = count == 0 && !cursor.inList           ? Extracted::kEmpty
          : WriteAndRecord(target, bytes, count) ? Extracted::kWritten
                                                 : Extracted::kNoted;
  }
  if (empty != nullptr) *empty = why == Extracted::kEmpty;
  NoteExtracted(why, name, target, error);
  return why == Extracted::kWritten;
}

DWORD Installer::TargetPath(const char* name, char* target) const {
  // The file takes the name in the system's code page; the item is found by
  // the payload's.
  char fileName[kWorkFolderSize];
  bool named = ToSystemCodePage(name, fileName, sizeof(fileName));
  if (named && !payload::IsSafeItemName(fileName)) return ERROR_INVALID_NAME;
  // Refused rather than cut: a cut path would write a different file.
  bool joined = named && text::Join(target, kWorkFolderSize, workFolder, "\\", fileName);
  return joined ? 0 : ERROR_FILENAME_EXCED_RANGE;
}

// Every folder on the way to the target that does not exist yet is made and
// recorded; the last component is the file. The folders the previous target
// went through are known to exist and are not asked for again: with many
// files in one folder that would be a system call per folder per file.
void Installer::CreateMissingFolders(const char* target) {
  char prefix[kWorkFolderSize];
  size_t n = text::LengthUpTo(target, kWorkFolderSize - 1);
  char* knownFolder = cursor.knownFolder;
  size_t known = strlen(knownFolder);
  bool shared = true;
  bool allThere = true;
  size_t folderLength = 0;
  // By character: the second byte of a double-byte character may be the
  // byte of '\\', and a folder cut there is one the user never asked for.
  for (size_t i = 0, step = 1; i < n; i += step) {
    step = text::CharBytes(target + i);
    bool separator = step == 1 && text::IsSeparatorAt(target + i);
    if (step == 2 && i + 1 >= n) break;
    prefix[i] = separator ? '\\' : target[i];
    if (step == 2) prefix[i + 1] = target[i + 1];
    shared = shared && i + step <= known && memcmp(knownFolder + i, prefix + i, step) == 0;
    if (!separator) continue;
    prefix[i + 1] = '\0';
    folderLength = i + 1;
    if (shared) continue;
    if (CreateDirectoryA(prefix, nullptr)) {
      // One that cannot be remembered would outlast a failed run: it goes,
      // and the file below it then fails to be written.
      if (!Record(createdFolders, prefix)) RemoveDirectoryA(prefix);
    } else if (GetLastError() != ERROR_ALREADY_EXISTS) {
      // A drive's root answers "access denied"; anything else that is not a
      // folder now is asked for again with the next file.
      DWORD attributes = GetFileAttributesA(prefix);
      allThere = allThere && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    }
  }
  if (!allThere) folderLength = 0;
  memcpy(knownFolder, prefix, folderLength);
  knownFolder[folderLength] = '\0';
}

void Installer::Decode(const uint8_t* stored, uint32_t storedSize, const uint8_t** bytes, uint32_t* count) {
  loaderChannel->LoadFromMemory(stored, storedSize, 1);
  itemData = nullptr;
  if (loaderChannel->CheckTag(payload::kEngineTag, 0) != 0) channelServices->processor->Process(loaderChannel);
  *count = loaderChannel->OutputSize();
  *bytes = loaderChannel->OutputData();
}

bool Installer::WriteAndRecord(const char* target, const uint8_t* bytes, uint32_t count) {
  // A write that fails or stops short (a full disk) must not leave a damaged
  // or empty file that looks installed: the file is deleted unless kept.
  platform::OutputFile file(target);
  // An empty file is a file of the project like any other: written, recorded.
  if (!OpenOutput(file, target) || (count != 0 && !WriteOutput(file, target, bytes, count)) ||
      !KeepOutput(file, target)) {
    return false;
  }
  return RecordFile(target, !file.Replaces());
}

bool Installer::OpenOutput(platform::OutputFile& file, const char* target) {
  file.OnEachPiece(&AnswerBetweenPieces, this);
  for (int tries = 0; !file.Opened(); file.Open()) {
    if (!WaitWhileHeld(target, file.Error(), &tries)) return false;
  }
  return true;
}

bool Installer::WriteOutput(platform::OutputFile& file, const char* target, const void* bytes, uint32_t count) {
  if (file.Write(bytes, count)) return true;
  NoteFailure(FailureKind::kCopyFailure, target, file.Error());
  return false;
}

bool Installer::KeepOutput(platform::OutputFile& file, const char* target) {
  for (int tries = 0; !file.Keep();) {
    if (!WaitWhileHeld(target, file.Error(), &tries)) {
      file.Discard();
      return false;
    }
  }
  // The size the uninstall entry shows.
  bytesWritten += file.Size();
  return true;
}

// Windows takes a window that has not answered for seconds for hung: one
// large file is written in pieces, and the progress window answers between.
void Installer::AnswerBetweenPieces(void* self) { static_cast<Installer*>(self)->KeepWindowsAnswering(); }

}  // namespace installer
