#pragma once
// Layout constants of the payload that the packager appends to the stub.
#include <stdint.h>

namespace payload {

// The marker is kept as two halves and joined at run time: the stub scans its
// own file from offset 0, so its image must never hold the 36 bytes in a row.
inline constexpr char kMarkerHead[] = "5B1E07C2-94AD-4F63";
inline constexpr char kMarkerTail[] = "-A2D8-31C7E9F04B6A";
constexpr uint32_t kMarkerLength = 36;

// Writes the joined marker and a terminator into out (37 bytes).
void JoinMarker(char* out);

// Strings are copied into fields of this size; at most 259 characters fit.
constexpr uint32_t kFieldSize = 260;
constexpr uint32_t kMaxNameLength = kFieldSize - 1;
constexpr uint32_t kTextSettingSize = 259;
// List entries are read at this count: a name of at most one byte less and
// its terminator.
constexpr uint32_t kListNameSize = 399;
// The longest name an item may have, listed or not: a list entry could hold
// more, but the item it names is found through its directory entry, whose
// name is copied into a field of kFieldSize.
constexpr uint32_t kMaxItemNameLength = kMaxNameLength < kListNameSize - 1 ? kMaxNameLength : kListNameSize - 1;

// The paths the stub builds: the working folder and every extraction target
// in this storage (at most 399 characters and a terminator), every other path
// (engine, shortcuts, copies, registry data) in kPathSize.
constexpr uint32_t kTargetPathSize = 400;
constexpr uint32_t kPathSize = 260;
// The longest folder CreateDirectoryA makes (MAX_PATH less the 12 it keeps
// for an 8.3 name, less the terminator); a folder above that length is
// refused before anything is made rather than failing at its first file.
constexpr uint32_t kMaxFolderPath = 247;

// The scan for a payload whose trailer is wrong: whole blocks that follow each
// other without overlap; a match must start at most this far into a block.
constexpr uint32_t kScanBlockSize = 9999;
constexpr uint32_t kScanLastStart = 9962;
constexpr uint32_t kScanBlocks = 20;
// The furthest offset at which the scan finds a marker.
constexpr uint64_t kScanReach = uint64_t{kScanBlocks - 1} * kScanBlockSize + kScanLastStart;

// Whether the scan finds a marker that starts at offset: within its reach,
// and not straddling two of its blocks. A stub, as branded, must end where
// this holds, or a signed installer loses its payload.
constexpr bool ScanFinds(uint64_t offset) {
  return offset <= kScanReach && offset % kScanBlockSize <= kScanLastStart;
}

// How much the packager may grow the stub with a publisher's icon and
// version information; the build checks that the stub and that much more
// stay within the scan's reach.
constexpr uint32_t kMaxBrandingGrowth = 131072;

inline constexpr char kTypeAppData[] = "APPDATA";
inline constexpr char kTypeChannelInfo[] = "CHANNELINFO";
inline constexpr char kTypeFileInfo[] = "FILEINFO";

// The whole installer stays below 2 GiB: the stub uses its offsets as signed
// 32-bit seek distances.
constexpr uint64_t kMaxInstallerSize = 0x7FFFFFFF;

// Smallest directory entry: two lengths, two one-byte strings, size and CRC.
constexpr uint32_t kMinEntryBytes = 4 + 1 + 4 + 1 + 4 + 4;

}  // namespace payload
