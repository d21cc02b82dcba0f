#include "vpack/base/CodePage.h"

#include <errno.h>
#include <iconv.h>
#include <locale.h>
#include <stdio.h>
#include <wctype.h>

#include "vpack/base/Error.h"

namespace vpack {
namespace {

// One conversion with glibc's iconv; at receives where the input stopped
// (its size when all of it converted).
class Converter {
 public:
  Converter(const std::string& to, const std::string& from) : handle_(iconv_open(to.c_str(), from.c_str())) {
    if (handle_ == reinterpret_cast<iconv_t>(-1)) throw Error("cannot convert text from " + from + " to " + to);
  }
  ~Converter() { iconv_close(handle_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts from offset on until the end or a character it cannot take.
  size_t Run(const std::string& in, size_t offset, std::string& out) {
    char* from = const_cast<char*>(in.data()) + offset;
    size_t left = in.size() - offset;
    while (left > 0) {
      char room[256];
      char* to = room;
      size_t space = sizeof(room);
      size_t done = iconv(handle_, &from, &left, &to, &space);
      out.append(room, static_cast<size_t>(to - room));
      if (done == static_cast<size_t>(-1) && errno != E2BIG) return in.size() - left;
    }
    // Code pages that combine characters may still hold the last one.
    char room[16];
    char* to = room;
    size_t space = sizeof(room);
    iconv(handle_, nullptr, nullptr, &to, &space);
    out.append(room, static_cast<size_t>(to - room));
    return in.size();
  }

 private:
  iconv_t handle_;
};

std::string IconvName(unsigned number) { return "CP" + std::to_string(number); }

// The code point of the UTF-8 sequence at at, which InvalidUtf8At has passed.
unsigned CodePointAt(const std::string& text, size_t at) {
  unsigned char lead = static_cast<unsigned char>(text[at]);
  int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
  unsigned point = extra == 0 ? lead : lead & (0x3F >> extra);
  for (int i = 1; i <= extra; ++i) point = (point << 6) | (static_cast<unsigned char>(text[at + i]) & 0x3F);
  return point;
}

size_t SequenceLength(unsigned char lead) { return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1; }

std::string Utf8Of(unsigned point) {
  std::string out;
  if (point < 0x80) return std::string(1, static_cast<char>(point));
  if (point < 0x800) {
    out += static_cast<char>(0xC0 | (point >> 6));
  } else {
    out += static_cast<char>(0xE0 | (point >> 12));
    out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
  }
  return out + static_cast<char>(0x80 | (point & 0x3F));
}

}  // namespace

bool IsSupportedCodePage(unsigned number) { return number == 874 || (number >= 1250 && number <= 1258); }

CodePage::CodePage(unsigned number) : number_(number) {
  if (!IsSupportedCodePage(number)) {
    throw Error("code page " + std::to_string(number) + " is not a Windows single-byte code page (" +
                kSupportedCodePages + ")");
  }
}

size_t InvalidUtf8At(const std::string& text) {
  for (size_t i = 0; i < text.size();) {
    unsigned char lead = static_cast<unsigned char>(text[i]);
    size_t length = SequenceLength(lead);
    if ((lead >= 0x80 && lead < 0xC2) || lead > 0xF4 || i + length > text.size()) return i;
    for (size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return i;
    }
    unsigned point = CodePointAt(text, i);
    bool overlong = (length == 3 && point < 0x800) || (length == 4 && point < 0x10000);
    if (overlong || (point >= 0xD800 && point <= 0xDFFF) || point > 0x10FFFF) return i;
    i += length;
  }
  return std::string::npos;
}

std::string CodePage::FromUtf8(const std::string& utf8, std::string& problem) const {
  problem.clear();
  size_t invalid = InvalidUtf8At(utf8);
  if (invalid != std::string::npos) {
    char byte[8];
    snprintf(byte, sizeof(byte), "0x%02X", static_cast<unsigned char>(utf8[invalid]));
    problem = std::string("is not valid UTF-8 (byte ") + byte + " at offset " + std::to_string(invalid) + ")";
    return std::string();
  }
  std::string out;
  Converter converter(IconvName(number_), "UTF-8");
  size_t stopped = converter.Run(utf8, 0, out);
  if (stopped < utf8.size()) {
    char point[16];
    snprintf(point, sizeof(point), "U+%04X", CodePointAt(utf8, stopped));
    problem = "holds \"" + utf8.substr(stopped, SequenceLength(static_cast<unsigned char>(utf8[stopped]))) + "\" (" +
              point + "), which code page " + std::to_string(number_) + " cannot hold";
    return std::string();
  }
  return out;
}

std::string CodePage::Folded(const std::string& bytes) const {
  if (upper_.empty()) {
    // Unicode's upper case of each byte's letter, where the page has it.
    static locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    for (unsigned byte = 0; byte < 256; ++byte) {
      std::string letter = ToUtf8(std::string(1, static_cast<char>(byte)));
      unsigned point = CodePointAt(letter, 0);
      unsigned upper = utf8 != static_cast<locale_t>(0) && point < 0x10000 ? towupper_l(point, utf8) : point;
      std::string problem;
      std::string mapped = FromUtf8(Utf8Of(upper), problem);
      upper_ += problem.empty() && mapped.size() == 1 ? mapped[0] : static_cast<char>(byte);
    }
  }
  std::string folded = bytes;
  for (char& c : folded) c = upper_[static_cast<unsigned char>(c)];
  return folded;
}

std::string CodePage::ToUtf8(const std::string& bytes) const {
  std::string out;
  Converter converter("UTF-8", IconvName(number_));
  for (size_t at = 0; at < bytes.size();) {
    at = converter.Run(bytes, at, out);
    if (at < bytes.size()) {
      out += "\xEF\xBF\xBD";
      ++at;
    }
  }
  return out;
}

}  // namespace vpack
