#include "vpack/write/PayloadStream.h"

#include <errno.h>
#include <stdio.h>
#include <string.h>

#include "vpack/write/Deflate.h"
#include "vpack/write/DeflatePieces.h"
#include "vpack/base/Error.h"
#include "vpack/base/InputFile.h"
#include "vpack/write/ItemEncoder.h"
#include "vpack/manifest/ManifestChecks.h"

namespace vpack {
namespace {

struct Stored {
  uint32_t size;
  uint32_t crc;
};

packager::Bytes Header(const std::vector<PlannedItem>& items, const std::vector<Stored>& stored) {
  std::vector<packager::DirectoryEntry> entries = DirectoryOf(items);
  for (size_t i = 0; i < items.size(); ++i) {
    entries[i].size = stored[i].size;
    entries[i].crc = stored[i].crc;
  }
  return packager::PayloadHeader(entries);
}

// A raw file goes from its source to the output a chunk at a time.
Stored CopyRaw(AtomicFile& output, const FileSpec& file) {
  InputFile source(file.source, file.entry + ": source");
  static thread_local uint8_t chunk[1 << 20];
  uint64_t total = 0;
  uint32_t crc = 0;
  for (size_t got; (got = source.Read(chunk, sizeof(chunk))) > 0; total += got) {
    crc = Crc32Of(crc, chunk, got);
    output.Write(chunk, got);
  }
  if (total != file.size) throw Error(file.entry + ": source " + Quoted(file.source) + " changed while packing");
  return {static_cast<uint32_t>(total), crc};
}

// A large file's pieces are written as they come, framed as one stream.
Stored WriteEncoded(AtomicFile& output, const FileSpec& file, size_t index, ItemEncoder& encoder) {
  uint32_t count = PieceCount(file.size);
  uint64_t size = 0;
  uint32_t crc = 0, adler = 1;
  auto write = [&](const packager::Bytes& bytes) {
    output.Write(bytes.data(), bytes.size());
    crc = Crc32Of(crc, bytes.data(), bytes.size());
    size += bytes.size();
  };
  if (count > 1) write(PiecedItemHead(file));
  for (uint32_t piece = 0; piece < count; ++piece) {
    EncodedPiece encoded = encoder.Take(index, piece);
    write(encoded.data);
    adler = piece == 0 ? encoded.adler : CombineAdler32(adler, encoded.adler, encoded.plainSize);
  }
  if (count > 1) write(PiecedItemTail(file, adler));
  if (size > kMaxInstallerSize) throw Error(file.entry + ": stored, it would be larger than 2 GiB");
  return {static_cast<uint32_t>(size), crc};
}

Stored WriteItem(AtomicFile& output, const PlannedItem& item, size_t index, ItemEncoder& encoder) {
  if (NeedsEncoding(item)) return WriteEncoded(output, *item.file, index, encoder);
  if (item.file != nullptr) return CopyRaw(output, *item.file);
  output.Write(item.bytes.data(), item.bytes.size());
  return {static_cast<uint32_t>(item.bytes.size()), Crc32Of(0, item.bytes.data(), item.bytes.size())};
}

}  // namespace

uint64_t WritePayload(AtomicFile& output, uint32_t stubSize, const std::vector<PlannedItem>& items, unsigned jobs,
                      const ItemProgress& progress, std::vector<uint32_t>* storedSizes) {
  uint64_t headerLength = HeaderLength(items);
  output.Write(packager::Bytes(headerLength, 0).data(), headerLength);
  uint64_t end = stubSize + headerLength;
  std::vector<Stored> stored;
  ItemEncoder encoder(items, jobs);
  for (size_t i = 0; i < items.size(); ++i) {
    if (progress && items[i].file != nullptr) progress(i, items.size(), items[i].name);
    stored.push_back(WriteItem(output, items[i], i, encoder));
    end += stored.back().size;
    // The trailer's 4 bytes must fit too.
    if (end + 4 > kMaxInstallerSize) {
      throw Error("the installer would be larger than 2 GiB, which it cannot be; stopped at " + Quoted(items[i].name));
    }
  }
  packager::Bytes trailer;
  packager::PutU32(trailer, stubSize);
  output.Write(trailer.data(), trailer.size());
  packager::Bytes header = Header(items, stored);
  output.WriteAt(stubSize, header.data(), header.size());
  if (storedSizes != nullptr) {
    for (const Stored& each : stored) storedSizes->push_back(each.size);
  }
  return end + 4 - stubSize;
}

}  // namespace vpack
