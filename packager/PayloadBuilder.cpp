#include "packager/PayloadBuilder.h"

#include <zlib.h>

#include "payload/Crc32Table.h"
#include "payload/ItemLayout.h"
#include "payload/PayloadFormat.h"
#include "payload/ProjectTypes.h"

namespace packager {

static const payload::ListInfo& ListOf(ListKind kind) {
  switch (kind) {
    case ListKind::kChannels: return payload::kChannelList;
    case ListKind::kChannelModules: return payload::kChannelModuleList;
    default: return payload::kProjectFileList;
  }
}

const char* ListCountName(ListKind kind) { return ListOf(kind).countName; }
const char* ListEntryPrefix(ListKind kind) { return ListOf(kind).entryPrefix; }
const char* ListType(ListKind kind) { return ListOf(kind).type; }

void PutU32(Bytes& out, uint32_t value) {
  out.resize(out.size() + 4);
  payload::PutLittleEndian32(out.data() + out.size() - 4, value);
}

uint32_t Crc32(const Bytes& bytes) {
  payload::Crc32Table table;
  table.Build();
  return table.Compute(bytes.data(), static_cast<uint32_t>(bytes.size()));
}

void PayloadBuilder::Add(const std::string& type, const std::string& name, Bytes data) {
  items_.push_back(Item{type, name, std::move(data)});
}

void PayloadBuilder::AddRaw(const std::string& name, Bytes data) {
  Add(payload::kTypeAppData, name, std::move(data));
}

void PayloadBuilder::AddU32(const std::string& name, uint32_t value, const std::string& type) {
  Bytes data;
  PutU32(data, value);
  Add(type, name, std::move(data));
}

void PayloadBuilder::AddFlag(const std::string& name, uint8_t value) { AddRaw(name, Bytes{value}); }

bool PayloadBuilder::AddText(const std::string& name, const std::string& text) {
  if (text.size() >= payload::kTextSettingSize) return false;
  Bytes field(payload::kTextSettingSize, 0);
  std::copy(text.begin(), text.end(), field.begin());
  AddRaw(name, std::move(field));
  return true;
}

void PayloadBuilder::AddPacked(const std::string& name, const Bytes& unpacked) {
  AddRaw(name, ZlibPack(unpacked));
}

void PayloadBuilder::AddList(ListKind kind, const std::vector<std::string>& names) {
  AddU32(ListCountName(kind), static_cast<uint32_t>(names.size()), ListType(kind));
  for (size_t i = 0; i < names.size(); ++i) {
    Bytes entry(names[i].begin(), names[i].end());
    entry.push_back(0);
    Add(ListType(kind), ListEntryPrefix(kind) + std::to_string(i), std::move(entry));
  }
}

static void PutString(Bytes& out, const std::string& s) {
  PutU32(out, static_cast<uint32_t>(s.size() + 1));
  out.insert(out.end(), s.begin(), s.end());
  out.push_back(0);
}

Bytes PayloadHeader(const std::vector<DirectoryEntry>& entries) {
  char marker[payload::kMarkerLength + 1];
  payload::JoinMarker(marker);
  Bytes out(marker, marker + payload::kMarkerLength);
  PutU32(out, static_cast<uint32_t>(entries.size()));
  for (const DirectoryEntry& entry : entries) {
    PutString(out, entry.type);
    PutString(out, entry.name);
    PutU32(out, entry.size);
    PutU32(out, entry.crc);
  }
  PutU32(out, static_cast<uint32_t>(out.size() + 4));
  return out;
}

Bytes PayloadBuilder::Build(uint32_t stubSize) const {
  std::vector<DirectoryEntry> entries;
  for (const Item& item : items_) {
    entries.push_back({item.type, item.name, static_cast<uint32_t>(item.data.size()), Crc32(item.data)});
  }
  Bytes out = PayloadHeader(entries);
  for (const Item& item : items_) out.insert(out.end(), item.data.begin(), item.data.end());
  PutU32(out, stubSize);
  return out;
}

Bytes ZlibItemTrailer(uint32_t unpackedSize) {
  Bytes trailer(payload::kZlibItemTrailerSize);
  payload::PutZlibItemTrailer(unpackedSize, trailer.data());
  return trailer;
}

Bytes ZlibPack(const Bytes& unpacked) {
  uLongf packedSize = compressBound(static_cast<uLong>(unpacked.size()));
  Bytes packed(packedSize);
  compress2(packed.data(), &packedSize, unpacked.data(), static_cast<uLong>(unpacked.size()), Z_BEST_COMPRESSION);
  packed.resize(packedSize);
  Bytes trailer = ZlibItemTrailer(static_cast<uint32_t>(unpacked.size()));
  packed.insert(packed.end(), trailer.begin(), trailer.end());
  return packed;
}

bool ZlibUnpack(const Bytes& stored, Bytes* unpacked) {
  if (stored.size() < payload::kZlibItemTrailerSize) return false;
  size_t n = stored.size() - payload::kZlibItemTrailerSize;
  uint32_t size = payload::ZlibItemStatedSize(stored.data() + n);
  unpacked->assign(size, 0);
  uLongf got = size;
  int result = uncompress(unpacked->data(), &got, stored.data(), static_cast<uLong>(n));
  return result == Z_OK && got == size;
}

}  // namespace packager
