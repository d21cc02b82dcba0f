#pragma once
// The engine file format of the stand-in engine: the tag (kEngineTag), the
// decoded size as 4 bytes little-endian, then a zlib stream of the decoded bytes.
#include <functional>
#include <memory>
#include <string>

#include "packager/PayloadBuilder.h"
#include "payload/EngineFiles.h"
#include "packager/StreamInflater.h"

namespace packager {

using payload::kEngineTag;
constexpr size_t kEngineHeadSize = 8;

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
  uint8_t head_[kEngineHeadSize];
  size_t headSize_ = 0;
  uint32_t stated_ = 0;
  std::string problem_;
};

}  // namespace packager
