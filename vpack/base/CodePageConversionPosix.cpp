#include <errno.h>
#include <iconv.h>
#include <locale.h>
#include <wctype.h>

#include "vpack/base/CodePageConversion.h"
#include "vpack/base/Error.h"

namespace vpack {
namespace {

// One conversion with glibc's iconv.
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

std::string IconvName(unsigned page) { return "CP" + std::to_string(page); }

}  // namespace

size_t Utf8ToCodePage(unsigned page, const std::string& utf8, size_t offset, std::string& out) {
  return Converter(IconvName(page), "UTF-8").Run(utf8, offset, out);
}

size_t CodePageToUtf8(unsigned page, const std::string& bytes, size_t offset, std::string& out) {
  return Converter("UTF-8", IconvName(page)).Run(bytes, offset, out);
}

unsigned UpperCaseOf(unsigned point) {
  static locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
  return utf8 != static_cast<locale_t>(0) ? towupper_l(point, utf8) : point;
}

}  // namespace vpack
