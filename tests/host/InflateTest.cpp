// The stub's own inflater against zlib, on every kind of stream zlib makes.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <random>

#include "payload/Inflate.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Deflate(const Bytes& plain, int level, int strategy) {
  z_stream stream{};
  EXPECT_EQ(Z_OK, deflateInit2(&stream, level, Z_DEFLATED, 15, 8, strategy));
  Bytes packed(deflateBound(&stream, plain.size()));
  stream.next_in = const_cast<Bytef*>(plain.data());
  stream.avail_in = static_cast<uInt>(plain.size());
  stream.next_out = packed.data();
  stream.avail_out = static_cast<uInt>(packed.size());
  EXPECT_EQ(Z_STREAM_END, deflate(&stream, Z_FINISH));
  packed.resize(stream.total_out);
  deflateEnd(&stream);
  return packed;
}

// Text-like data: words from a small vocabulary, with runs and noise mixed in.
Bytes Sample(size_t size, unsigned seed, int noisePercent) {
  std::mt19937 random(seed);
  const char* words[] = {"harbour ", "quay ", "tide ", "lantern ", "\r\n", "vandrel ", "scene ", "0123456789"};
  Bytes data;
  while (data.size() < size) {
    if (static_cast<int>(random() % 100) < noisePercent) {
      data.push_back(static_cast<uint8_t>(random()));
    } else if (random() % 20 == 0) {
      data.insert(data.end(), random() % 300, static_cast<uint8_t>(random()));
    } else {
      const char* word = words[random() % 8];
      data.insert(data.end(), word, word + strlen(word));
    }
  }
  data.resize(size);
  return data;
}

TEST(Inflate, EveryLevelAndStrategy_SameBytesAsZlib) {
  const int strategies[] = {Z_DEFAULT_STRATEGY, Z_FILTERED, Z_HUFFMAN_ONLY, Z_RLE, Z_FIXED};
  unsigned seed = 1;
  for (size_t size : {size_t(0), size_t(1), size_t(100), size_t(70000), size_t(300000)}) {
    for (int noise : {0, 10, 100}) {
      Bytes plain = Sample(size, seed++, noise);
      for (int level = 0; level <= 9; level += 3) {
        for (int strategy : strategies) {
          Bytes packed = Deflate(plain, level, strategy);
          Bytes out(plain.size() + 1);
          size_t written = 0;
          ASSERT_TRUE(payload::InflateZlib(packed.data(), packed.size(), out.data(), out.size(), &written))
              << size << " " << noise << " " << level << " " << strategy;
          ASSERT_EQ(plain.size(), written);
          ASSERT_TRUE(std::equal(plain.begin(), plain.end(), out.begin()));
        }
      }
    }
  }
}

TEST(Inflate, OutputTooSmall_Refused) {
  Bytes plain = Sample(5000, 7, 10);
  Bytes packed = Deflate(plain, 6, Z_DEFAULT_STRATEGY);
  Bytes out(plain.size() - 1);
  size_t written = 0;
  EXPECT_FALSE(payload::InflateZlib(packed.data(), packed.size(), out.data(), out.size(), &written));
}

TEST(Inflate, DamagedStreams_RefusedLikeZlib) {
  Bytes plain = Sample(20000, 9, 10);
  Bytes packed = Deflate(plain, 9, Z_DEFAULT_STRATEGY);
  std::mt19937 random(3);
  Bytes out(plain.size());
  for (int trial = 0; trial < 3000; ++trial) {
    Bytes damaged = packed;
    if (trial % 3 == 0) {
      damaged.resize(random() % packed.size());
    } else {
      damaged[random() % damaged.size()] ^= static_cast<uint8_t>(1u << (random() % 8));
    }
    uLongf zlibSize = out.size();
    bool zlibOk = uncompress(out.data(), &zlibSize, damaged.data(), damaged.size()) == Z_OK;
    size_t written = 0;
    bool ours = payload::InflateZlib(damaged.data(), damaged.size(), out.data(), out.size(), &written);
    ASSERT_EQ(zlibOk, ours) << trial;
    if (ours) ASSERT_EQ(zlibSize, written);
  }
}

// The stream in pieces of every small size and the output through a window
// of the least size, across its turns: the same bytes as zlib, for every
// kind of block, and a stream that would pass its limit is stopped there.
class Pieces : public payload::InflateSource {
 public:
  Pieces(const Bytes& bytes, size_t step) : bytes_(bytes), step_(step) {}
  bool Next(const uint8_t** data, size_t* count) override {
    if (pos_ == bytes_.size()) return false;
    *data = bytes_.data() + pos_;
    *count = std::min(step_, bytes_.size() - pos_);
    pos_ += *count;
    step_ = step_ % 7 + 1;  // uneven pieces, some of one byte
    return true;
  }

 private:
  const Bytes& bytes_;
  size_t step_;
  size_t pos_ = 0;
};

class Collect : public payload::InflateSink {
 public:
  bool Take(const uint8_t* data, size_t count) override {
    out.insert(out.end(), data, data + count);
    return true;
  }
  Bytes out;
};

TEST(Inflate, StreamInPiecesThroughTheSmallestWindow_SameBytesAsZlib) {
  Bytes window(1u << 16);
  for (int level : {0, 1, 9}) {
    for (int noise : {0, 100}) {
      Bytes plain = Sample(300000, static_cast<unsigned>(level + noise), noise);
      Bytes packed = Deflate(plain, level, Z_DEFAULT_STRATEGY);
      for (size_t first : {size_t(1), size_t(5), packed.size()}) {
        Pieces source(packed, first);
        Collect sink;
        uint32_t written = 0;
        ASSERT_TRUE(payload::InflateZlibStream(source, sink, window.data(), window.size(), 300000, &written))
            << level << " " << noise << " " << first;
        EXPECT_EQ(300000u, written);
        ASSERT_TRUE(sink.out == plain) << level << " " << noise << " " << first;
      }
      Pieces source(packed, 4096);
      Collect sink;
      uint32_t written = 0;
      EXPECT_FALSE(payload::InflateZlibStream(source, sink, window.data(), window.size(), 299999, &written));
      EXPECT_LE(sink.out.size(), 299999u);
    }
  }
}

}  // namespace
