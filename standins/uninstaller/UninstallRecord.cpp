#include "standins/uninstaller/UninstallRecord.h"

#include <stdint.h>
#include <string.h>

namespace uninstaller {
namespace {

constexpr size_t kCountSize = 4;
constexpr size_t kFieldSize = 259;

class ChunkCursor {
 public:
  ChunkCursor(const std::vector<chunks::Chunk>& chunks, std::string* why) : chunks_(chunks), why_(why) {}

  // The next chunk when it has this tag and exactly this many bytes, both
  // announced and written; null, with the reason, otherwise.
  const chunks::Chunk* Take(const char* tag, size_t size) {
    std::string where = std::string(tag) + " at chunk " + std::to_string(next_ + 1);
    if (next_ >= chunks_.size()) return Fail("record ends before " + where);
    const chunks::Chunk& chunk = chunks_[next_];
    if (chunk.tag != tag) return Fail("expected " + where + ", found " + chunk.tag);
    if (chunk.data.size() != size || chunk.declaredSize != size) {
      return Fail(where + " holds " + std::to_string(chunk.data.size()) + " bytes (declared " +
                  std::to_string(chunk.declaredSize) + "), expected " + std::to_string(size));
    }
    ++next_;
    return &chunk;
  }

  bool AtEnd() const { return next_ >= chunks_.size(); }
  bool NextIs(const char* tag) const { return !AtEnd() && chunks_[next_].tag == tag; }
  size_t Left() const { return chunks_.size() - next_; }

  const chunks::Chunk* Fail(const std::string& reason) {
    *why_ = reason;
    return nullptr;
  }

 private:
  const std::vector<chunks::Chunk>& chunks_;
  std::string* why_;
  size_t next_ = 0;
};

int32_t ReadCount(const chunks::Chunk& chunk) {
  const uint8_t* d = chunk.data.data();
  return static_cast<int32_t>(d[0] | (d[1] << 8) | (d[2] << 16) | (static_cast<uint32_t>(d[3]) << 24));
}

// A path of exactly the field's size fills it with no terminator.
std::string ReadField(const chunks::Chunk& chunk) {
  const char* text = reinterpret_cast<const char*>(chunk.data.data());
  return std::string(text, strnlen(text, chunk.data.size()));
}

// A count chunk, then that many field chunks of the given tag.
bool TakeList(ChunkCursor* cursor, const char* countTag, const char* itemTag, std::vector<std::string>* items) {
  const chunks::Chunk* countChunk = cursor->Take(countTag, kCountSize);
  if (countChunk == nullptr) return false;
  int32_t count = ReadCount(*countChunk);
  // Checked against what is left first, so a wild count allocates nothing.
  if (count < 0 || static_cast<size_t>(count) > cursor->Left()) {
    cursor->Fail(std::string(countTag) + " count " + std::to_string(count) + " does not match the chunks that follow");
    return false;
  }
  for (int32_t i = 0; i < count; ++i) {
    const chunks::Chunk* item = cursor->Take(itemTag, kFieldSize);
    if (item == nullptr) return false;
    items->push_back(ReadField(*item));
  }
  return true;
}

}  // namespace

bool ParseUninstallRecord(const std::vector<chunks::Chunk>& chunks, UninstallRecord* record, std::string* why) {
  ChunkCursor cursor(chunks, why);
  UninstallRecord parsed;
  if (!TakeList(&cursor, "UNFC", "UNFN", &parsed.files)) return false;
  if (!TakeList(&cursor, "UNDC", "UNDN", &parsed.folders)) return false;
  const chunks::Chunk* name = cursor.Take("UNPN", kFieldSize);
  if (name == nullptr) return false;
  parsed.projectName = ReadField(*name);
  if (cursor.NextIs("UNSK")) {
    if (cursor.Take("UNSK", 0) == nullptr) return false;
    parsed.skipMarker = true;
  }
  if (!cursor.AtEnd()) {
    *why = "unexpected chunks after the project name";
    return false;
  }
  *record = parsed;
  return true;
}

}  // namespace uninstaller
