#include "vpack/read/ItemStream.h"

#include "packager/EngineFormat.h"
#include "packager/StreamInflater.h"
#include "payload/ItemLayout.h"
#include "payload/LittleEndian.h"
#include "vpack/read/ZlibCheck.h"

namespace vpack {
namespace {

ItemPass PassStored(const InstallerFile& file, int32_t index, const PieceSink& sink) {
  ItemPass pass;
  pass.crc = file.ReadPieces(index, sink);
  return pass;
}

ItemPass PassEngine(const InstallerFile& file, int32_t index, const PieceSink& sink) {
  ItemPass pass;
  packager::EngineDecoder decoder(sink);
  pass.crc = file.ReadPieces(index, [&](const uint8_t* bytes, size_t size) { decoder.Feed(bytes, size); });
  decoder.Finish();
  pass.problem = decoder.Problem();
  return pass;
}

// The installer's way: the whole item, one call of its inflater.
ItemPass PassZlibWhole(const InstallerFile& file, int32_t index, const PieceSink& sink) {
  packager::Bytes stored;
  stored.reserve(file.Entry(index).size);
  ItemPass pass = PassStored(file, index, [&](const uint8_t* bytes, size_t size) {
    stored.insert(stored.end(), bytes, bytes + size);
  });
  packager::Bytes unpacked;
  pass.problem = ZlibProblem(stored, &unpacked);
  if (pass.problem.empty()) sink(unpacked.data(), unpacked.size());
  return pass;
}

// The stream, then its unpacked size: all but the last 4 bytes are inflated.
ItemPass PassZlibPieces(const InstallerFile& file, int32_t index, uint32_t stated, const PieceSink& sink) {
  uint64_t streamBytes = file.Entry(index).size - 4, fed = 0;
  packager::StreamInflater inflater(sink, stated);
  ItemPass pass = PassStored(file, index, [&](const uint8_t* bytes, size_t size) {
    size_t take = static_cast<size_t>(std::min<uint64_t>(size, streamBytes - std::min(fed, streamBytes)));
    fed += size;
    inflater.Feed(bytes, take);
  });
  if (inflater.Damaged() || inflater.OverLimit() || !inflater.Ended()) {
    pass.problem = "does not inflate to its stated " + std::to_string(stated) + " bytes";
  } else if (inflater.Produced() != stated) {
    pass.problem = "inflates to " + std::to_string(inflater.Produced()) + " bytes, not its stated " + std::to_string(stated);
  }
  return pass;
}

}  // namespace

ItemPass PassItem(const InstallerFile& file, int32_t index, Decode decode, const PieceSink& sink) {
  if (decode == Decode::kNone) return PassStored(file, index, sink);
  if (decode == Decode::kEngine) return PassEngine(file, index, sink);
  uint32_t size = file.Entry(index).size;
  packager::Bytes tail = file.ReadTail(index, payload::kZlibItemTrailerSize);
  uint32_t stated = size >= payload::kZlibItemTrailerSize ? payload::ZlibItemStatedSize(tail.data()) : 0;
  if (size < payload::kZlibItemTrailerSize || uint64_t{size} + stated <= kWholeInflateBytes) return PassZlibWhole(file, index, sink);
  return PassZlibPieces(file, index, stated, sink);
}

}  // namespace vpack
