#pragma once
// Engine-format items (payload/ItemLayout.h) encoded with zlib and decoded
// in pieces, for vpack and the tests.
#include <functional>
#include <memory>
#include <string>

#include "packager/PayloadBuilder.h"
#include "packager/StreamInflater.h"
#include "payload/ItemLayout.h"

namespace packager {


// The head of an engine-format item of that decoded size; the zlib stream follows.
Bytes EngineItemHead(uint32_t decodedSize);
Bytes EngineEncode(const Bytes& plain);
// False when the data has no tag or does not decode to its stated size.
bool EngineDecode(const uint8_t* data, size_t size, Bytes* plain);

// Decodes an engine-format item given in pieces of any size, handing the
// decoded bytes on in pieces as they come: memory does not grow with the
// item. EngineDecode is this over one piece.
class EngineDecoder {
 public:
  using Sink = std::function<void(const uint8_t* bytes, size_t size)>;
  explicit EngineDecoder(Sink sink);
  ~EngineDecoder();
  EngineDecoder(const EngineDecoder&) = delete;
  EngineDecoder& operator=(const EngineDecoder&) = delete;

  // False once the bytes so far cannot be an intact item; Problem() says why.
  bool Feed(const uint8_t* data, size_t size);
  // True when everything fed was one item that decoded to its stated size.
  bool Finish();
  // What is wrong, as a phrase; empty while nothing is.
  const std::string& Problem() const { return problem_; }

 private:
  bool Fail(const std::string& problem);
  bool Inflate(const uint8_t* data, size_t size);

  Sink sink_;
  std::unique_ptr<StreamInflater> inflater_;
  uint8_t head_[payload::kEngineItemHeadSize];
  size_t headSize_ = 0;
  uint32_t stated_ = 0;
  std::string problem_;
};

}  // namespace packager
