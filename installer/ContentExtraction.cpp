// The engine files every project needs, then the listed channel and project
// files.
#include <stdlib.h>
#include <string.h>

#include "installer/Installer.h"
#include "installer/ProgressSteps.h"
#include "payload/EngineFiles.h"
#include "payload/ListEntries.h"
#include "platform/AnsiChars.h"
#include "platform/FileAhead.h"
#include "platform/Text.h"

namespace installer {

namespace {

// List names are read kListNameSize bytes at a time, into room for that and
// a terminator.
constexpr int32_t kListNameRead = payload::kListNameSize;
constexpr size_t kListKeySize = 64;

// Entry i's item, named by the list's prefix and i, into key; null when the
// payload lacks it.
const payload::PayloadEntry* ListEntry(const payload::PayloadReader* reader, const ListWalk& walk, int32_t i,
                                       char* key) {
  text::CopyAtMost(key, walk.prefix, kListKeySize - 12);
  text::AppendDecimal(key, kListKeySize, static_cast<uint32_t>(i));
  return reader != nullptr ? reader->Item(key, walk.type) : nullptr;
}

float Fraction(double base, int32_t index, int32_t count) {
  double share = static_cast<double>(index) / count * progress::kListShare;
  return static_cast<float>(share + base);
}

}  // namespace

bool Installer::ExtractEngineFiles() {
  for (const payload::EngineFile& file : payload::kEngineFiles) {
    KeepWindowsAnswering();
    if (!ExtractItem(file.name, file.decode)) return false;
  }
  return true;
}

bool Installer::ExtractChannels() {
  return ExtractList(payload::kChannelList, progress::kChannels, false) &&
         ExtractList(payload::kChannelModuleList, progress::kChannelModules, true);
}

bool Installer::ExtractProjectFiles() { return ExtractList(payload::kProjectFileList, progress::kProjectFiles, true); }

bool Installer::ExtractList(const payload::ListInfo& list, double base, bool report) {
  int32_t count = 0;
  bool projectFiles = strcmp(list.type, payload::kTypeFileInfo) == 0;
  if (!ReadItem(list.countName, &count, sizeof(count), list.type)) {
    // Both channel counts share one text.
    return Stop(projectFiles ? FailureKind::kNoFileCount : FailureKind::kNoChannelCount);
  }
  ListWalk walk = {list.entryPrefix, list.type, base, report, count};
  cursor.inList = true;
  bool ok = true;
  if (reader == nullptr || count <= reader->EntryCount()) {
    for (int32_t i = 0; ok && i < count; ++i) ok = ExtractListEntry(walk, i, i + 1 < count ? i + 1 : -1);
  } else {
    ok = ExtractPresentEntries(walk);
  }
  cursor.inList = false;
  cursor.aheadIndex = -1;
  // A file made ahead for an entry the run did not reach (it stopped) goes.
  platform::DropCreated();
  return ok;
}

// A count beyond what the directory holds would mean billions of lookups of
// names that cannot be there: only the entries present are visited, in
// index order, and only they move the progress bar.
bool Installer::ExtractPresentEntries(const ListWalk& walk) {
  int32_t* indices = new int32_t[static_cast<size_t>(reader->EntryCount()) + 1];
  if (indices == nullptr) {
    return Stop(FailureKind::kOutOfMemory);
  }
  int32_t found = 0;
  for (int32_t e = 0; e < reader->EntryCount(); ++e) {
    const payload::PayloadEntry* entry = reader->Entry(e);
    int32_t index = payload::VisitedListIndex(entry->name, walk.prefix, walk.count);
    if (index >= 0 && text::EqualNoCase(entry->type, walk.type)) indices[found++] = index;
  }
  qsort(indices, static_cast<size_t>(found), sizeof(int32_t), [](const void* a, const void* b) {
    int32_t x = *static_cast<const int32_t*>(a), y = *static_cast<const int32_t*>(b);
    return x < y ? -1 : (x > y ? 1 : 0);
  });
  bool ok = true;
  for (int32_t n = 0; ok && n < found; ++n) {
    if (n > 0 && indices[n] == indices[n - 1]) continue;
    // Only a list walked in full has files made ahead.
    ok = ExtractListEntry(walk, indices[n], -1);
  }
  delete[] indices;
  return ok;
}

bool Installer::ExtractListEntry(const ListWalk& walk, int32_t i, int32_t next) {
  if (walk.report) SetProgressIfOpen(Fraction(walk.base, i, walk.count));
  if (!walk.report) KeepWindowsAnswering();
  char name[kListNameRead + 1];
  bool readAhead = i == cursor.aheadIndex;
  if (readAhead) {
    memcpy(name, cursor.aheadName, sizeof(name));
  } else {
    char key[kListKeySize];
    const payload::PayloadEntry* entry = ListEntry(reader, walk, i, key);
    if (entry == nullptr) return true;
    if (!ReadFound(entry, name, kListNameRead)) {
      // A name that is there but damaged, unreadable or longer than a name
      // can be is no optional file: passing over it would end in success
      // without the file.
      NoteReadFailure(key, key);
      return false;
    }
    name[kListNameRead] = '\0';
  }
  // Every other file: this one is created by the installation while the next
  // one is made beside it, and that one is then taken as made.
  if (!readAhead) CreateNextAhead(walk, next);
  uint8_t decode = payload::IsCopiedProjectFile(walk.type, name) ? 0 : 1;
  // A listed name that the payload lacks is passed over, as lists may name
  // optional files (ExtractItem tells, from the one look-up it reads by); one
  // that is there but cannot be written stops the installation, or a full
  // disk would end in a success message.
  return ExtractItem(name, decode);
}

// Under Wine every new name reads the whole folder: while this entry's file
// is written, the next one's is made on another thread (platform/FileAhead).
// Its name is read once, here, for both; a read that fails is left to the
// entry's turn, which reads it again and tells why.
void Installer::CreateNextAhead(const ListWalk& walk, int32_t next) {
  cursor.aheadIndex = -1;
  if (next < 0) return;
  char key[kListKeySize];
  const payload::PayloadEntry* entry = ListEntry(reader, walk, next, key);
  if (entry == nullptr || !reader->ReadEntry(entry, cursor.aheadName, kListNameRead)) return;
  cursor.aheadName[kListNameRead] = '\0';
  cursor.aheadIndex = next;
  char target[kWorkFolderSize];
  if (Item(cursor.aheadName) == nullptr || TargetPath(cursor.aheadName, target) != 0) return;
  // Only into the folder of the file before, which is there: whether one
  // made for this entry is there yet would depend on which thread ran
  // first, and the seam's count with it.
  const char* known = cursor.knownFolder;
  size_t folder = strlen(known);
  if (folder != 0 && text::LastSeparator(target) == target + folder - 1 && memcmp(target, known, folder) == 0) {
    platform::CreateAhead(target);
  }
}

}  // namespace installer
