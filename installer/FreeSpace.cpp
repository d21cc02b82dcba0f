// Room on the target's volume, checked before anything is written there: a
// nearly full disk is told at once, with what is needed and what is free,
// rather than found half way by a write that fails.
#include "installer/Installer.h"
#include "payload/LittleEndian.h"
#include "payload/SpaceNeeded.h"
#include "platform/AnsiChars.h"
#include "platform/Log.h"
#include "platform/Text.h"

namespace installer {
namespace {

// The bytes free to this user on the volume of path: asked of the nearest
// folder on the way to it that is there, as a target not yet made lies on
// that one's volume. False where none answers.
bool FreeBytes(const char* path, uint64_t* free) {
  char folder[kPathSize];
  text::CopyAtMost(folder, path, sizeof(folder) - 1);
  for (;;) {
    ULARGE_INTEGER available;
    if (GetDiskFreeSpaceExA(folder, &available, nullptr, nullptr)) {
      *free = available.QuadPart;
      return true;
    }
    const char* last = text::LastSeparator(folder);
    if (last == nullptr) return false;
    size_t at = static_cast<size_t>(last - folder);
    // "C:\" keeps its separator: "C:" alone is the drive's current folder.
    if (at == 2 && folder[1] == ':') ++at;
    if (folder[at] == '\0') return false;
    folder[at] = '\0';
  }
}

uint32_t Megabytes(uint64_t bytes, bool up) {
  uint64_t mb = (bytes + (up ? (1u << 20) - 1 : 0)) >> 20;
  return mb > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(mb);
}

}  // namespace

uint64_t Installer::SpaceNeeded(payload::SpacePart part) {
  uint8_t raw[payload::kSpaceNeededSize];
  if (!ReadItem(payload::kSpaceNeededItem, raw, sizeof(raw), nullptr)) return 0;
  return static_cast<uint64_t>(payload::ReadLittleEndian32(raw + 4 * part)) * 1024;
}

bool Installer::HasRoom(const char* folder, uint64_t needed, messages::Id shortOf, bool* retry) {
  *retry = false;
  uint64_t free = 0;
  // A volume that does not say is not taken for a full one.
  if (needed == 0 || !FreeBytes(folder, &free) || free >= needed) return true;
  NoteFailure(shortOf, folder, 0);
  failure.numbers[0] = Megabytes(needed, true);
  failure.numbers[1] = Megabytes(free, false);
  // Silent, nobody can free the room: the message goes to the log.
  if (unattended.silent) return false;
  if (ui::Tell(failure) == message::kAnswerRetry) {
    *retry = true;
    return false;
  }
  exitCode = kExitCancelled;
  return Told();
}

bool Installer::HasRoomHere(const char* folder, uint64_t needed) {
  bool retry = true;
  while (retry) {
    if (HasRoom(folder, needed, messages::Id::kNoSpaceHere, &retry)) return true;
  }
  return false;
}

}  // namespace installer
