#include "vpack/rules/TextRules.h"

#include <stdio.h>

#include "payload/TextItems.h"
#include "vpack/base/Error.h"

namespace vpack {
namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD";

// Line breaks and tabs lay a message out; any other control character shows
// as a box, or cuts the text short in a dialog.
std::string ControlProblem(const std::string& utf8) {
  for (size_t at = 0; at < utf8.size(); ++at) {
    unsigned char byte = static_cast<unsigned char>(utf8[at]);
    unsigned point = byte;
    // The C1 controls, U+0080 .. U+009F, are C2 80 .. C2 9F in UTF-8.
    if (byte == 0xC2 && at + 1 < utf8.size()) point = static_cast<unsigned char>(utf8[at + 1]);
    bool control = point < 0x20 || point == 0x7F || (byte == 0xC2 && point >= 0x80 && point <= 0x9F);
    if (!control || byte == '\n' || byte == '\r' || byte == '\t') continue;
    char code[16];
    snprintf(code, sizeof(code), "U+%04X", point);
    return std::string("holds the control character ") + code + "; only line breaks (\\n, \\r) and tabs may be";
  }
  return std::string();
}

bool Holds(const std::string& text, const char* placeholder) { return text.find(placeholder) != std::string::npos; }

}  // namespace

std::string TranslationProblem(texts::Id id, const std::string& utf8) {
  if (utf8.empty()) return "is empty; leave the key out to keep the English";
  std::string control = ControlProblem(utf8);
  if (!control.empty()) return control;
  std::string english = texts::English(id);
  // The installer puts a file name, a code page or the system's reason where
  // the placeholder stands: a lost one loses that, an added one shows "%2".
  for (const char* placeholder : texts::kPlaceholders) {
    if (Holds(english, placeholder) && !Holds(utf8, placeholder)) {
      return "lacks the placeholder " + Quoted(placeholder) + " of the English " + Quoted(english);
    }
    if (!Holds(english, placeholder) && Holds(utf8, placeholder)) {
      return "holds the placeholder " + Quoted(placeholder) + ", which the English lacks: the installer fills in " +
             "only the English's";
    }
  }
  return std::string();
}

std::string TextInCodePage(const CodePage& page, const std::string& utf8, std::string& problem) {
  std::string encoded = page.FromUtf8(utf8, problem);
  if (!problem.empty()) return std::string();
  if (encoded.size() > payload::kMaxTextBytes) {
    problem = "is " + std::to_string(encoded.size()) + " bytes in code page " + std::to_string(page.Number()) +
              "; at most " + std::to_string(payload::kMaxTextBytes) + " fit";
    return std::string();
  }
  return encoded;
}

std::string ShownText(const CodePage& page, const std::string& bytes, std::string& problem) {
  problem.clear();
  if (bytes.size() > payload::kMaxTextBytes) {
    problem = "is " + std::to_string(bytes.size()) + " bytes; the installer reads at most " +
              std::to_string(payload::kMaxTextBytes) + " and shows the English";
    return std::string();
  }
  std::string utf8 = page.ToUtf8(bytes);
  // No code page defines U+FFFD, so it stands only for bytes the page leaves
  // undefined (or a lead byte with nothing after it).
  if (utf8.find(kReplacement) != std::string::npos) {
    problem = "holds bytes code page " + std::to_string(page.Number()) + " does not define";
  }
  return utf8;
}

}  // namespace vpack
