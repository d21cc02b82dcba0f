#include "platform/ShellLink.h"

#include <stdint.h>
#include <string.h>

#include "platform/FileWrite.h"

namespace platform {
namespace {

// Every number in a link's file is little-endian, as the machines the stub
// runs on store them.
#pragma pack(push, 1)
// The header, then where the target is: found by its path alone, on a
// volume of unknown type with an empty label, with an empty suffix.
struct LinkStart {
  uint32_t headerSize;
  GUID linkClass;
  uint32_t flags;
  // Attributes, three times, size and icon of the target: none recorded.
  uint8_t targetFacts[36];
  uint32_t showCommand;
  // Hot key and reserved fields.
  uint8_t reserved[12];
  uint32_t locationSize;
  uint32_t locationHeaderSize;
  uint32_t locationFlags;
  uint32_t volumeOffset;
  uint32_t localPathOffset;
  uint32_t networkOffset;
  uint32_t suffixOffset;
  uint32_t volumeSize;
  uint32_t driveType;
  uint32_t serialNumber;
  uint32_t labelOffset;
  uint8_t label;
};
#pragma pack(pop)

constexpr uint32_t kHeaderSize = 0x4C;
constexpr uint32_t kLocationHeaderSize = 0x1C;
constexpr uint32_t kVolumeHeaderSize = 0x10;
constexpr uint32_t kVolumeSize = kVolumeHeaderSize + 1;
static_assert(sizeof(LinkStart) == kHeaderSize + kLocationHeaderSize + kVolumeSize, "the layout of a link's file");
constexpr GUID kLinkClass = {0x00021401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr uint32_t kHasLinkInfo = 0x02;
constexpr uint32_t kHasName = 0x04;
constexpr uint32_t kHasWorkingDir = 0x10;
constexpr uint32_t kHasArguments = 0x20;
constexpr uint32_t kShowNormal = 1;
constexpr uint32_t kVolumeAndLocalPath = 0x01;
// The target's path with its end and the empty suffix, three texts after
// their lengths, and the end of the blocks.
constexpr uint32_t kMaxLinkBytes = sizeof(LinkStart) + MAX_PATH + 2 + 3 * (2 + MAX_PATH) + 4;

// A text of the system's code page after its length, without an end.
uint8_t* Counted(uint8_t* out, const char* text, uint32_t length) {
  *out++ = static_cast<uint8_t>(length);
  *out++ = static_cast<uint8_t>(length >> 8);
  memcpy(out, text, length);
  return out + length;
}

uint32_t Length(const char* text) { return text != nullptr ? static_cast<uint32_t>(strlen(text)) : 0; }

}  // namespace

bool SaveShellLink(const char* target, const char* linkPath, const char* description, const char* arguments,
                   const char* workingFolder) {
  uint32_t targetLength = Length(target);
  uint32_t descriptionLength = Length(description);
  uint32_t folderLength = Length(workingFolder);
  uint32_t argumentsLength = Length(arguments);
  if (targetLength > MAX_PATH || descriptionLength > MAX_PATH || folderLength > MAX_PATH ||
      argumentsLength > MAX_PATH) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return false;
  }
  LinkStart start = {};
  start.headerSize = kHeaderSize;
  start.linkClass = kLinkClass;
  start.flags = kHasLinkInfo | kHasName | kHasWorkingDir | (arguments != nullptr ? kHasArguments : 0);
  start.showCommand = kShowNormal;
  start.localPathOffset = kLocationHeaderSize + kVolumeSize;
  start.suffixOffset = start.localPathOffset + targetLength + 1;
  start.locationSize = start.suffixOffset + 1;
  start.locationHeaderSize = kLocationHeaderSize;
  start.locationFlags = kVolumeAndLocalPath;
  start.volumeOffset = kLocationHeaderSize;
  start.volumeSize = kVolumeSize;
  start.labelOffset = kVolumeHeaderSize;
  uint8_t bytes[kMaxLinkBytes];
  memcpy(bytes, &start, sizeof(start));
  uint8_t* out = bytes + sizeof(start);
  memcpy(out, target, targetLength);
  out += targetLength;
  *out++ = 0;
  *out++ = 0;
  out = Counted(out, description, descriptionLength);
  out = Counted(out, workingFolder, folderLength);
  if (arguments != nullptr) out = Counted(out, arguments, argumentsLength);
  memset(out, 0, 4);
  out += 4;
  OutputFile file(linkPath);
  if (file.Opened() && file.Write(bytes, static_cast<uint32_t>(out - bytes)) && file.Keep()) return true;
  SetLastError(file.Error() != 0 ? file.Error() : ERROR_WRITE_FAULT);
  return false;
}

}  // namespace platform
