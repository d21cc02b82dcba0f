// Items written as they are read, a piece at a time: the files the installer
// copies as stored and the programs it inflates, whatever their size, in
// memory that does not grow with them.
#include "installer/Installer.h"
#include "installer/ReaderMessages.h"
#include "payload/Inflate.h"
#include "payload/ItemLayout.h"
#include "platform/FileWrite.h"
#include "platform/Message.h"

namespace installer {
namespace {

// Well above the 64 KiB the inflater needs: fewer, larger writes.
constexpr size_t kWindowSize = 1u << 20;

class FileSink final : public payload::InflateSink {
 public:
  explicit FileSink(platform::OutputFile& file) : file_(file) {}
  bool Take(const uint8_t* bytes, size_t count) override { return file_.Write(bytes, static_cast<uint32_t>(count)); }

 private:
  platform::OutputFile& file_;
};

}  // namespace

bool Installer::ExtractStreamed(const char* name, const payload::PayloadEntry* entry, const char* target,
                                bool inflate) {
  uint32_t size = 0;
  uint8_t tail[payload::kZlibItemTrailerSize];
  if (reader == nullptr || !reader->BeginPieces(entry, &size, tail)) {
    NoteReadFailure(name, target);
    return false;
  }
  // The current item is known by its stored size; its bytes pass through.
  itemData = nullptr;
  itemSize = size;
  // A zlib item ends with its unpacked size, which the inflater never
  // reaches: it stops at the stream's checksum.
  bool decodable = !inflate || size >= payload::kZlibItemTrailerSize;
  uint32_t stated = inflate && decodable ? payload::ZlibItemStatedSize(tail) : size;
  emptyRefused = decodable && stated == 0 && !inList;
  if (emptyRefused) return false;
  platform::OutputFile file(target);
  if (!OpenOutput(file, target)) return false;
  uint8_t* window = inflate && decodable ? new uint8_t[kWindowSize] : nullptr;
  if (inflate && decodable && window == nullptr) {
    NoteFailure(FailureKind::kNoMemory, name, 0);
    return false;
  }
  FileSink sink(file);
  uint32_t written = 0;
  bool decoded = decodable && (window == nullptr || (payload::InflateZlibStream(*reader, sink, window, kWindowSize,
                                                                                stated, &written) &&
                                                     written == stated));
  delete[] window;
  const uint8_t* bytes = nullptr;
  size_t count = 0;
  // The checksum covers every stored byte, whatever the inflater made of them.
  while (!file.Failed() && reader->Next(&bytes, &count)) {
    if (!inflate) sink.Take(bytes, count);
  }
  bool whole = !file.Failed() && reader->EndPieces();
  ReportCrcMismatch(*reader);
  if (whole && decoded) {
    return KeepOutput(file, target) && RecordFile(target, !file.Replaces());
  }
  // Nothing damaged or cut may stay behind looking installed.
  file.Discard();
  if (file.Failed()) {
    NoteFailure(FailureKind::kCopyFailure, target, file.Error());
    return false;
  }
  if (!whole) {
    NoteReadFailure(name, target);
    return false;
  }
  NoteFailure(FailureKind::kDecompress, target, ERROR_INVALID_DATA);
  return false;
}

bool Installer::CopyModule(const char* item, const char* target, FailureKind copyFailure) {
  NoteFailure(FailureKind::kCopyFailure, target, 0);
  if (ExtractStreamed(item, Item(item), target, true)) return true;
  if (failure.what == FailureKind::kCopyFailure) failure.what = copyFailure;
  return false;
}

}  // namespace installer
