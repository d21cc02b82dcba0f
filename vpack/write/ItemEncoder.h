#pragma once
// Encodes the file items that need it on every core, in pieces: a file up
// to kWholeFileLimit is one piece, read whole and compressed alone; a larger
// one is read and compressed kPieceSize at a time (DeflatePieces.h), so its
// pieces spread over the workers and none holds the whole file. Workers
// claim pieces in the items' order while the writer takes them in the same
// order. Finished pieces wait for the writer only up to a budget, so memory
// stays near the budget plus one piece per worker, whatever the payload's
// size. The result does not depend on the number of workers: each piece is
// encoded alone.
#include <stdint.h>

#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "vpack/plan/PayloadPlan.h"

namespace vpack {

class Deflate;

// A piece's stored bytes. A file in one piece: the item's whole bytes. A
// piece of a larger file: its deflate blocks, which the writer frames with
// PiecedItemHead and PiecedItemTail, the tail needing the Adler-32 of all
// the pieces' plain bytes.
struct EncodedPiece {
  packager::Bytes data;
  uint32_t adler = 1;
  uint64_t plainSize = 0;
};

// Reads the piece of the source and encodes it for the manifest's store;
// throws Error.
EncodedPiece EncodePiece(const FileSpec& file, uint32_t piece, Deflate& deflate);

// What comes before a pieced file's blocks (the engine's tag and size, the
// zlib header) and after them (the zlib checksum, the installer's size).
packager::Bytes PiecedItemHead(const FileSpec& file);
packager::Bytes PiecedItemTail(const FileSpec& file, uint32_t adler);

class ItemEncoder {
 public:
  // Starts the workers on every item NeedsEncoding picks; 0 jobs: one per core.
  ItemEncoder(const std::vector<PlannedItem>& items, unsigned jobs);
  // Stops the workers after their current piece.
  ~ItemEncoder();
  ItemEncoder(const ItemEncoder&) = delete;
  ItemEncoder& operator=(const ItemEncoder&) = delete;

  // Waits for that piece of item index (which must need encoding, taken in
  // order) and hands it over; rethrows a worker's Error.
  EncodedPiece Take(size_t index, uint32_t piece);

 private:
  using Unit = std::pair<size_t, uint32_t>;  // item index, piece
  struct Result {
    EncodedPiece piece;
    std::string error;
  };
  void Work();
  bool MayClaim() const;

  const std::vector<PlannedItem>& items_;
  std::vector<Unit> queue_;  // the pieces to encode, in order
  size_t claimed_ = 0;       // into queue_
  std::map<Unit, Result> done_;
  uint64_t waitingBytes_ = 0;  // finished, not yet taken
  bool stopping_ = false;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::thread> workers_;
};

}  // namespace vpack
