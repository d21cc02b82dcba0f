#include "vpack/read/InstallerFile.h"

#include <string.h>

#include <algorithm>

#include "payload/LittleEndian.h"
#include "payload/ProjectTypes.h"
#include "vpack/base/CodePage.h"
#include "vpack/base/SystemPath.h"
#include "vpack/rules/ContentChecks.h"

namespace vpack {
namespace {

// Why the installer would not find its payload, as the reader saw it.
std::string NoPayloadProblem(const payload::PayloadReader& reader) {
  if (reader.Status() == payload::DirectoryStatus::kNoMarker) {
    return "no payload found: no marker where the installer looks (at the trailer's offset, or early in the file)";
  }
  return "no payload found: the directory at offset " + std::to_string(reader.MarkerOffset()) +
         " is damaged or does not fit the file";
}

}  // namespace

InstallerFile::InstallerFile(const std::string& path)
    : path_(path), reader_(std::make_unique<payload::PayloadReader>(path.c_str())) {
  switch (reader_->Status()) {
    case payload::DirectoryStatus::kLoaded: return;
    case payload::DirectoryStatus::kCannotOpen:
      throw NoPayload(Quoted(path) + " cannot be read: " + strerror(ErrorNumberOf(reader_->ReadError())),
                      std::string("cannot be read: ") + strerror(ErrorNumberOf(reader_->ReadError())));
    default: throw NoPayload(Quoted(path) + ": no payload found", NoPayloadProblem(*reader_));
  }
}

InstallerFile::~InstallerFile() = default;

uint64_t InstallerFile::PayloadEnd() const {
  uint64_t end = static_cast<uint64_t>(reader_->MarkerOffset()) + reader_->HeaderLength() + 4;
  for (int32_t i = 0; i < Count(); ++i) end += Entry(i).size;
  return end;
}

void InstallerFile::Unreadable(const payload::PayloadEntry& entry) const {
  throw Error(Quoted(path_) + ": item " + Quoted(entry.name) + " cannot be read");
}

std::vector<packager::Item> InstallerFile::HeldItems() const {
  std::vector<packager::Item> items;
  for (int32_t i = 0; i < Count(); ++i) {
    const payload::PayloadEntry& entry = Entry(i);
    items.push_back({entry.type, entry.name, {}});
    if (!IsFileItem(items.back())) items.back().data = ReadHead(i, kHeldItemBytes + 1);
  }
  return items;
}

uint64_t PayloadBytes(const InstallerFile& file) {
  uint64_t total = 0;
  for (int32_t i = 0; i < file.Count(); ++i) total += file.Entry(i).size;
  return total;
}

unsigned InstallerFile::CodePageOf(unsigned given) const {
  if (given != kRecordedCodePage) return given;
  std::optional<packager::Bytes> data = ReadSetting(payload::kCodePageSetting.name, payload::kNumberSize);
  unsigned recorded = data ? payload::ReadLittleEndian32(data->data()) : 0;
  return IsSupportedCodePage(recorded) ? recorded : kDefaultCodePage;
}

std::optional<packager::Bytes> InstallerFile::ReadSetting(const char* name, uint32_t width) const {
  packager::Bytes value(width);
  bool read = reader_->ReadItem(name, value.data(), static_cast<int32_t>(width), payload::kTypeAppData);
  return read ? std::optional<packager::Bytes>(value) : std::nullopt;
}

packager::Bytes InstallerFile::ReadHead(int32_t index, size_t count) const {
  const payload::PayloadEntry& entry = Entry(index);
  packager::Bytes bytes(std::min<size_t>(count, entry.size));
  uint32_t size = static_cast<uint32_t>(bytes.size());
  if (!reader_->ReadPart(&entry, 0, bytes.data(), size)) Unreadable(entry);
  return bytes;
}

packager::Bytes InstallerFile::ReadTail(int32_t index, size_t count) const {
  const payload::PayloadEntry& entry = Entry(index);
  packager::Bytes bytes(std::min<size_t>(count, entry.size));
  uint32_t size = static_cast<uint32_t>(bytes.size());
  if (!reader_->ReadPart(&entry, entry.size - size, bytes.data(), size)) Unreadable(entry);
  return bytes;
}

uint32_t InstallerFile::ReadPieces(int32_t index, const PieceSink& sink) const {
  const payload::PayloadEntry& entry = Entry(index);
  uint32_t size = 0;
  uint8_t tail[4];
  if (!reader_->BeginPieces(&entry, &size, tail)) Unreadable(entry);
  uint64_t done = 0;
  const uint8_t* bytes = nullptr;
  size_t count = 0;
  while (reader_->Next(&bytes, &count)) {
    sink(bytes, count);
    done += count;
  }
  // A wrong CRC is the caller's to report; bytes that are not there are not.
  if (!reader_->EndPieces() && (done != entry.size || reader_->ReadError() != 0)) Unreadable(entry);
  return reader_->LastCrc();
}

}  // namespace vpack
