#include "vpack/write/ItemEncoder.h"

#include <algorithm>

#include "packager/EngineFormat.h"
#include "vpack/write/Deflate.h"
#include "vpack/write/DeflatePieces.h"
#include "vpack/base/Error.h"
#include "vpack/base/InputFile.h"

namespace vpack {
namespace {

// Finished pieces beyond this wait for the writer before more are started.
constexpr uint64_t kWaitingBudget = 64ull << 20;

[[noreturn]] void Changed(const FileSpec& file) {
  throw Error(file.entry + ": source " + Quoted(file.source) + " changed while packing");
}

// One piece of a large source, and a check that the source has kept its size.
packager::Bytes ReadPiece(const FileSpec& file, uint32_t piece) {
  uint64_t offset = piece * kPieceSize;
  size_t size = static_cast<size_t>(std::min(kPieceSize, file.size - offset));
  InputFile input(file.source, file.entry + ": source");
  packager::Bytes bytes(size);
  input.Seek(offset);
  size_t got = input.Read(bytes.data(), size);
  if (got != size || input.Size() != file.size) Changed(file);
  return bytes;
}

EncodedPiece EncodeWhole(const FileSpec& file, Deflate& deflate) {
  packager::Bytes source = ReadWholeFile(file.source, file.entry + ": source", file.size);
  if (source.size() != file.size) Changed(file);
  uint32_t size = static_cast<uint32_t>(source.size());
  Deflate::Packed packed = deflate.Zlib(source.data(), source.size());
  // Freed before the copy, so that source, room and copy are never all held.
  packager::Bytes().swap(source);
  EncodedPiece encoded;
  encoded.plainSize = size;
  if (file.store == Store::kEngine) encoded.data = packager::EngineItemHead(size);
  encoded.data.insert(encoded.data.end(), packed.bytes.get(), packed.bytes.get() + packed.size);
  if (file.store == Store::kZlib) {
    packager::Bytes trailer = packager::ZlibItemTrailer(size);
    encoded.data.insert(encoded.data.end(), trailer.begin(), trailer.end());
  }
  return encoded;
}

}  // namespace

EncodedPiece EncodePiece(const FileSpec& file, uint32_t piece, Deflate& deflate) {
  uint32_t count = PieceCount(file.size);
  if (count == 1) return EncodeWhole(file, deflate);
  packager::Bytes source = ReadPiece(file, piece);
  EncodedPiece encoded;
  encoded.plainSize = source.size();
  encoded.adler = Adler32Of(source.data(), source.size());
  AppendPiece(deflate, source.data(), source.size(), piece + 1 == count, encoded.data);
  return encoded;
}

packager::Bytes PiecedItemHead(const FileSpec& file) {
  packager::Bytes head;
  if (file.store == Store::kEngine) head = packager::EngineItemHead(static_cast<uint32_t>(file.size));
  head.insert(head.end(), kZlibHeader, kZlibHeader + 2);
  return head;
}

packager::Bytes PiecedItemTail(const FileSpec& file, uint32_t adler) {
  packager::Bytes tail = {static_cast<uint8_t>(adler >> 24), static_cast<uint8_t>(adler >> 16),
                          static_cast<uint8_t>(adler >> 8), static_cast<uint8_t>(adler)};
  if (file.store == Store::kZlib) {
    packager::Bytes trailer = packager::ZlibItemTrailer(static_cast<uint32_t>(file.size));
    tail.insert(tail.end(), trailer.begin(), trailer.end());
  }
  return tail;
}

ItemEncoder::ItemEncoder(const std::vector<PlannedItem>& items, unsigned jobs) : items_(items) {
  for (size_t i = 0; i < items.size(); ++i) {
    if (!NeedsEncoding(items[i])) continue;
    for (uint32_t piece = 0; piece < PieceCount(items[i].file->size); ++piece) queue_.push_back({i, piece});
  }
  if (jobs == 0) jobs = std::max(1u, std::thread::hardware_concurrency());
  jobs = static_cast<unsigned>(std::min<size_t>(jobs, queue_.size()));
  for (unsigned i = 0; i < jobs; ++i) workers_.emplace_back([this] { Work(); });
}

ItemEncoder::~ItemEncoder() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

// Items are claimed in order, so everything finished before the item the
// writer waits for has been taken: the budget can never hold that one back.
bool ItemEncoder::MayClaim() const { return claimed_ < queue_.size() && waitingBytes_ < kWaitingBudget; }

void ItemEncoder::Work() {
  Deflate deflate;
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return stopping_ || MayClaim() || claimed_ >= queue_.size(); });
    if (stopping_ || claimed_ >= queue_.size()) return;
    Unit unit = queue_[claimed_++];
    lock.unlock();
    Result result;
    try {
      result.piece = EncodePiece(*items_[unit.first].file, unit.second, deflate);
    } catch (const std::exception& e) {
      result.error = e.what();
    }
    lock.lock();
    waitingBytes_ += result.piece.data.size();
    done_[unit] = std::move(result);
    changed_.notify_all();
  }
}

EncodedPiece ItemEncoder::Take(size_t index, uint32_t piece) {
  Unit unit{index, piece};
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [&] { return done_.count(unit) != 0; });
  Result result = std::move(done_[unit]);
  done_.erase(unit);
  waitingBytes_ -= result.piece.data.size();
  changed_.notify_all();
  if (!result.error.empty()) throw Error(result.error);
  return std::move(result.piece);
}

}  // namespace vpack
