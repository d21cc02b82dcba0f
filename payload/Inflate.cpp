#include "payload/Inflate.h"

#include <string.h>

namespace payload {
namespace {

constexpr int kMaxBits = 15;
constexpr int kFastBits = 10;
// How far back a distance may reach.
constexpr size_t kWindow = 32768;

// Little-endian bit stream over the input, as deflate packs it, taken a
// piece at a time from the source where there is one. Past the end it
// supplies zero bits, so that a short last code can be looked up; taking any
// of them sets overrun.
struct Bits {
  const uint8_t* in;
  size_t size;
  size_t pos;
  InflateSource* source;
  uint32_t buffer;
  int count;    // bits in buffer
  int padding;  // of which made up past the end
  bool overrun;

  bool More() {
    while (pos >= size) {
      if (source == nullptr || !source->Next(&in, &size)) return false;
      pos = 0;
    }
    return true;
  }
  // Tops the buffer up to at least 25 bits whenever it holds fewer than
  // needed, so that most symbols find their bits there without a call.
  void Fill(int need) {
    if (count < need) Refill();
  }
  void Refill() {
    while (count <= 24) {
      if (pos < size || More()) {
        buffer |= static_cast<uint32_t>(in[pos++]) << count;
      } else {
        padding += 8;
      }
      count += 8;
    }
  }
  // Inlined even where the stub is built for size: once a symbol or more.
  __attribute__((always_inline)) void Drop(int n) {
    buffer >>= n;
    count -= n;
    if (count < padding) overrun = true;
  }
  uint32_t Take(int n) {
    if (n == 0) return 0;
    Fill(n);
    uint32_t value = buffer & ((1u << n) - 1);
    Drop(n);
    return value;
  }
  // To the next byte boundary; whole bytes read ahead stay in the buffer
  // and are taken first.
  void Align() { Drop(count % 8); }
};

struct Huffman {
  uint16_t count[kMaxBits + 1];
  uint16_t symbol[288];
  uint16_t fast[1 << kFastBits];  // (length << 9) | symbol, 0 when longer
};

// False for a set of lengths that no prefix code has (over-subscribed).
bool Build(Huffman& h, const uint8_t* lengths, int n) {
  memset(h.count, 0, sizeof(h.count));
  for (int i = 0; i < n; ++i) h.count[lengths[i]]++;
  h.count[0] = 0;
  int left = 1;
  for (int len = 1; len <= kMaxBits; ++len) {
    left = (left << 1) - h.count[len];
    if (left < 0) return false;
  }
  uint16_t offsets[kMaxBits + 2];
  offsets[1] = 0;
  for (int len = 1; len <= kMaxBits; ++len) offsets[len + 1] = offsets[len] + h.count[len];
  for (int i = 0; i < n; ++i) {
    if (lengths[i] != 0) h.symbol[offsets[lengths[i]]++] = static_cast<uint16_t>(i);
  }
  // Codes of up to kFastBits bits, bit-reversed as they arrive, in a table.
  memset(h.fast, 0, sizeof(h.fast));
  uint32_t code = 0;
  int index = 0;
  for (int len = 1; len <= kFastBits; ++len, code <<= 1) {
    for (int k = 0; k < h.count[len]; ++k, ++code, ++index) {
      uint32_t reversed = 0;
      for (int b = 0; b < len; ++b) reversed |= ((code >> b) & 1) << (len - 1 - b);
      for (uint32_t fill = reversed; fill < (1u << kFastBits); fill += 1u << len) {
        h.fast[fill] = static_cast<uint16_t>((len << 9) | h.symbol[index]);
      }
    }
  }
  return true;
}

// The next symbol, or -1 for a code the table does not have or input that
// ends inside it.
int Decode(Bits& bits, const Huffman& h) {
  bits.Fill(kFastBits);
  uint16_t entry = h.fast[bits.buffer & ((1u << kFastBits) - 1)];
  if (entry != 0) {
    bits.Drop(entry >> 9);
    return bits.overrun ? -1 : entry & 0x1FF;
  }
  // Longer codes, one bit at a time through the canonical ranges.
  int code = 0, first = 0, index = 0;
  for (int len = 1; len <= kMaxBits; ++len) {
    code |= static_cast<int>(bits.Take(1));
    if (bits.overrun) return -1;
    int count = h.count[len];
    if (code - first < count) return h.symbol[index + code - first];
    index += count;
    first = (first + count) << 1;
    code <<= 1;
  }
  return -1;
}

const uint16_t kLengthBase[] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
const uint8_t kLengthExtra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
const uint16_t kDistanceBase[] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
                                  193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
const uint8_t kDistanceExtra[] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                  6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

uint32_t Adler32(uint32_t adler, const uint8_t* data, size_t size) {
  uint32_t a = adler & 0xFFFF, b = adler >> 16;
  while (size > 0) {
    // The most bytes whose sums cannot overflow 32 bits before the modulo.
    size_t run = size < 5552 ? size : 5552;
    size -= run;
    while (run-- > 0) {
      a += *data++;
      b += a;
    }
    a %= 65521;
    b %= 65521;
  }
  return (b << 16) | a;
}

// The bytes produced, in a block that is either the caller's whole output
// or, with a sink, a window: when it fills, what is new goes to the sink and
// the last 32 KiB stay for the distances that reach back into them.
struct Output {
  uint8_t* data;
  size_t size;
  size_t pos;
  InflateSink* sink;
  size_t start;    // where the bytes not yet passed on begin
  uint32_t total;  // passed on so far
  uint32_t limit;
  uint32_t adler;

  // False, nothing passed on, when the bytes would take the output past its
  // limit: never past it, so the count cannot wrap either.
  bool Pass() {
    size_t count = pos - start;
    if (count > limit - total) return false;
    adler = Adler32(adler, data + start, count);
    total += static_cast<uint32_t>(count);
    start = pos;
    return sink == nullptr || count == 0 || sink->Take(data + pos - count, count);
  }
  // Room for n more bytes, made by passing the window on where there is a
  // sink; false when the output would outgrow what it may hold. Inlined, as
  // Drop is: a literal is a byte.
  __attribute__((always_inline)) bool Room(size_t n) { return size - pos >= n || Slide(n); }
  bool Slide(size_t n) {
    if (sink == nullptr || !Pass()) return false;
    memmove(data, data + pos - kWindow, kWindow);
    pos = start = kWindow;
    return true;
  }
};

// Symbols of one block up to its end code.
bool InflateCodes(Bits& bits, Output& out, const Huffman& lengths, const Huffman& distances) {
  for (;;) {
    int symbol = Decode(bits, lengths);
    if (symbol < 0) return false;
    if (symbol < 256) {
      if (!out.Room(1)) return false;
      out.data[out.pos++] = static_cast<uint8_t>(symbol);
      continue;
    }
    if (symbol == 256) return true;
    symbol -= 257;
    if (symbol >= 29) return false;
    size_t length = kLengthBase[symbol] + bits.Take(kLengthExtra[symbol]);
    int code = Decode(bits, distances);
    if (code < 0 || code >= 30) return false;
    size_t distance = kDistanceBase[code] + bits.Take(kDistanceExtra[code]);
    if (bits.overrun || !out.Room(length) || distance > out.pos) return false;
    // Byte by byte: the source may overlap what is being written.
    const uint8_t* from = out.data + out.pos - distance;
    uint8_t* to = out.data + out.pos;
    for (size_t i = 0; i < length; ++i) to[i] = from[i];
    out.pos += length;
  }
}

bool InflateStored(Bits& bits, Output& out) {
  bits.Align();
  uint32_t length = bits.Take(16);
  if (bits.Take(16) != (~length & 0xFFFF) || bits.overrun) return false;
  // A byte at a time through the bit buffer: stored blocks are rare in the
  // installer's programs, and a few lines are worth more than their speed.
  for (; length > 0 && !bits.overrun; --length) {
    if (!out.Room(1)) return false;
    out.data[out.pos++] = static_cast<uint8_t>(bits.Take(8));
  }
  return !bits.overrun;
}

bool InflateFixed(Bits& bits, Output& out) {
  static Huffman lengths, distances;
  static bool built = false;
  if (!built) {
    uint8_t sizes[288];
    for (int i = 0; i < 288; ++i) sizes[i] = i < 144 ? 8 : i < 256 ? 9 : i < 280 ? 7 : 8;
    Build(lengths, sizes, 288);
    for (int i = 0; i < 30; ++i) sizes[i] = 5;
    Build(distances, sizes, 30);
    built = true;
  }
  return InflateCodes(bits, out, lengths, distances);
}

// The code lengths of a dynamic block, themselves Huffman-coded.
bool ReadLengths(Bits& bits, uint8_t* sizes, int total) {
  static const uint8_t kOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
  int codes = static_cast<int>(bits.Take(4)) + 4;
  uint8_t codeSizes[19] = {};
  for (int i = 0; i < codes; ++i) codeSizes[kOrder[i]] = static_cast<uint8_t>(bits.Take(3));
  Huffman codeLengths;
  if (!Build(codeLengths, codeSizes, 19)) return false;
  for (int i = 0; i < total;) {
    int symbol = Decode(bits, codeLengths);
    if (symbol < 0) return false;
    if (symbol < 16) {
      sizes[i++] = static_cast<uint8_t>(symbol);
      continue;
    }
    uint8_t value = 0;
    int repeat;
    if (symbol == 16) {
      if (i == 0) return false;
      value = sizes[i - 1];
      repeat = 3 + static_cast<int>(bits.Take(2));
    } else {
      repeat = symbol == 17 ? 3 + static_cast<int>(bits.Take(3)) : 11 + static_cast<int>(bits.Take(7));
    }
    if (repeat > total - i) return false;
    while (repeat-- > 0) sizes[i++] = value;
  }
  return !bits.overrun;
}

bool InflateDynamic(Bits& bits, Output& out) {
  int literals = static_cast<int>(bits.Take(5)) + 257;
  int distanceCodes = static_cast<int>(bits.Take(5)) + 1;
  if (literals > 286 || distanceCodes > 30) return false;
  uint8_t sizes[286 + 30];
  if (!ReadLengths(bits, sizes, literals + distanceCodes)) return false;
  if (sizes[256] == 0) return false;  // no end code: the block could not end
  Huffman lengths, distances;
  if (!Build(lengths, sizes, literals) || !Build(distances, sizes + literals, distanceCodes)) return false;
  return InflateCodes(bits, out, lengths, distances);
}

}  // namespace

namespace {

bool Inflate(Bits& bits, Output& output) {
  uint32_t cmf = bits.Take(8), flags = bits.Take(8);
  // Header: deflate with a window of at most 32 KiB, no preset dictionary.
  if (bits.overrun || (cmf & 0x0F) != 8 || (cmf >> 4) > 7 || ((cmf << 8) | flags) % 31 != 0 || (flags & 0x20)) {
    return false;
  }
  bool last = false;
  while (!last) {
    last = bits.Take(1) != 0;
    uint32_t type = bits.Take(2);
    bool ok = type == 0 ? InflateStored(bits, output)
              : type == 1 ? InflateFixed(bits, output)
              : type == 2 ? InflateDynamic(bits, output)
                          : false;
    if (!ok || bits.overrun) return false;
  }
  // The checksum follows on the next byte boundary, most significant first.
  bits.Align();
  uint32_t stored = 0;
  for (int i = 0; i < 4; ++i) stored = (stored << 8) | bits.Take(8);
  return !bits.overrun && output.Pass() && stored == output.adler;
}

}  // namespace

bool InflateZlib(const uint8_t* in, size_t inSize, uint8_t* out, size_t outSize, size_t* written) {
  Bits bits = {in, inSize, 0, nullptr, 0, 0, 0, false};
  // The output is counted in 32 bits; more than 4 GiB is not an item's.
  uint32_t limit = outSize > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(outSize);
  Output output = {out, outSize, 0, nullptr, 0, 0, limit, 1};
  bool ok = Inflate(bits, output);
  *written = ok ? static_cast<size_t>(output.total) : 0;
  return ok;
}

bool InflateZlibStream(InflateSource& source, InflateSink& sink, uint8_t* window, size_t windowSize, uint32_t limit,
                       uint32_t* written) {
  Bits bits = {nullptr, 0, 0, &source, 0, 0, 0, false};
  Output output = {window, windowSize, 0, &sink, 0, 0, limit, 1};
  bool ok = windowSize >= 2 * kWindow && Inflate(bits, output);
  *written = output.total;
  return ok;
}

}  // namespace payload
