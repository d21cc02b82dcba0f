// Removing what the run-in-place flow extracted.
#include "installer/Installer.h"
#include "platform/AnsiChars.h"
#include "platform/Text.h"

namespace installer {

namespace {

// Deletes (or removes) every entry with the given call, in the given
// direction, freeing each text; then empties the list.
template <typename Remove>
void ConsumeList(payload::PointerList& list, bool newestFirst, Remove remove) {
  int32_t count = list.Count();
  for (int32_t n = 0; n < count; ++n) {
    int32_t i = newestFirst ? count - 1 - n : n;
    char* path = static_cast<char*>(list.Get(i));
    if (path == nullptr) continue;
    remove(path);
    delete[] path;
    list.SetAt(nullptr, i);
  }
  list.Clear();
}

}  // namespace

void Installer::RemoveExtractedFiles() {
  ConsumeList(createdFiles, false, [](const char* path) { DeleteFileA(path); });
  // Left behind by the viewer, so in no list.
  char channelList[kWorkFolderSize + 16];
  if (text::Join(channelList, sizeof(channelList), workFolder, "\\channel.lst")) DeleteFileA(channelList);
  ConsumeList(createdFolders, true, [](const char* path) { RemoveDirectoryA(path); });
  cursor.knownFolder[0] = '\0';
  // The working folder is the current directory, which Windows does not let
  // go while it is in use: step out to its parent first.
  char parent[kWorkFolderSize];
  text::CopyAtMost(parent, workFolder, sizeof(parent) - 1);
  char* last = const_cast<char*>(text::LastSeparator(parent));
  if (last != nullptr) last[1] = '\0';
  SetCurrentDirectoryA(parent);
  RemoveDirectoryA(workFolder);
}

}  // namespace installer
