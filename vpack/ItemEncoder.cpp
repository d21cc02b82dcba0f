#include "vpack/ItemEncoder.h"

#include "packager/EngineFormat.h"
#include "vpack/Deflate.h"
#include "vpack/Error.h"

namespace vpack {
namespace {

// Finished items beyond this wait for the writer before more are started.
constexpr uint64_t kWaitingBudget = 64ull << 20;

}  // namespace

bool NeedsEncoding(const PlannedItem& item) { return item.file != nullptr && item.file->store != Store::kRaw; }

EncodedItem EncodeFile(const FileSpec& file, Deflate& deflate) {
  packager::Bytes source = ReadWholeFile(file.source, file.entry + ": source", file.size);
  if (source.size() != file.size) {
    throw Error(file.entry + ": source " + Quoted(file.source) + " changed while packing");
  }
  EncodedItem encoded;
  uint32_t size = static_cast<uint32_t>(source.size());
  if (file.store == Store::kEngine) {
    // The engine's own layout: tag, decoded size, zlib stream.
    encoded.data.assign(packager::kEngineTag, packager::kEngineTag + 4);
    packager::PutU32(encoded.data, size);
    deflate.AppendZlib(source.data(), source.size(), encoded.data);
  } else {
    // The installer's: zlib stream, then the unpacked size.
    deflate.AppendZlib(source.data(), source.size(), encoded.data);
    packager::PutU32(encoded.data, size);
  }
  encoded.crc = Crc32Of(0, encoded.data.data(), encoded.data.size());
  return encoded;
}

ItemEncoder::ItemEncoder(const std::vector<PlannedItem>& items, unsigned jobs) : items_(items) {
  for (size_t i = 0; i < items.size(); ++i) {
    if (NeedsEncoding(items[i])) queue_.push_back(i);
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
    size_t index = queue_[claimed_++];
    lock.unlock();
    Result result;
    try {
      result.item = EncodeFile(*items_[index].file, deflate);
    } catch (const std::exception& e) {
      result.error = e.what();
    }
    lock.lock();
    waitingBytes_ += result.item.data.size();
    done_[index] = std::move(result);
    changed_.notify_all();
  }
}

EncodedItem ItemEncoder::Take(size_t index) {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [&] { return done_.count(index) != 0; });
  Result result = std::move(done_[index]);
  done_.erase(index);
  waitingBytes_ -= result.item.data.size();
  changed_.notify_all();
  if (!result.error.empty()) throw Error(result.error);
  return std::move(result.item);
}

}  // namespace vpack
