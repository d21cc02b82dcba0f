#pragma once
// Builds the payload that is appended to an unchanged stub: marker,
// directory, item data and trailer. Items appear in the order they are added.
#include <stdint.h>

#include <string>
#include <vector>

namespace packager {

using Bytes = std::vector<uint8_t>;

struct Item {
  std::string type;
  std::string name;
  Bytes data;
};

// The three lists that the installer walks, each a count item and one name
// item per entry.
enum class ListKind { kChannels, kChannelModules, kProjectFiles };

// Item names and count names of a list.
const char* ListCountName(ListKind kind);
const char* ListEntryPrefix(ListKind kind);
const char* ListType(ListKind kind);

class PayloadBuilder {
 public:
  void Add(const std::string& type, const std::string& name, Bytes data);
  void AddRaw(const std::string& name, Bytes data);
  void AddU32(const std::string& name, uint32_t value, const std::string& type = "APPDATA");
  void AddFlag(const std::string& name, uint8_t value);
  // A text setting's field: the text, a terminator, zero bytes. False (and
  // nothing added) when the text and its terminator do not fit.
  bool AddText(const std::string& name, const std::string& text);
  // zlib stream followed by the unpacked size as 4 bytes.
  void AddPacked(const std::string& name, const Bytes& unpacked);
  // The count item and one name item (with its terminator) per entry.
  void AddList(ListKind kind, const std::vector<std::string>& names);

  const std::vector<Item>& Items() const { return items_; }
  std::vector<Item>& Items() { return items_; }

  // The payload for a stub of stubSize bytes, trailer included.
  Bytes Build(uint32_t stubSize) const;

 private:
  std::vector<Item> items_;
};

// One item as the payload's directory records it.
struct DirectoryEntry {
  std::string type;
  std::string name;
  uint32_t size;
  uint32_t crc;
};

// Marker, item count, directory and the directory's end offset: everything
// before the item data.
Bytes PayloadHeader(const std::vector<DirectoryEntry>& entries);

// What follows a zlib item's stream: its unpacked size.
Bytes ZlibItemTrailer(uint32_t unpackedSize);
Bytes ZlibPack(const Bytes& unpacked);
// Unpacks a stored zlib item; false when it does not inflate to its size.
bool ZlibUnpack(const Bytes& stored, Bytes* unpacked);
uint32_t Crc32(const Bytes& bytes);
void PutU32(Bytes& out, uint32_t value);

}  // namespace packager
