#include "tests/support/MessageTypes.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <gtest/gtest.h>

#include <sstream>

#include "tests/support/DocumentedMessages.h"

namespace testing_support {
namespace {

bool IsNumber(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

std::vector<std::string> g_translations;

// The translation a test accepted for this text; empty where none.
const std::string& Translated(texts::Id id) {
  static const std::string kNone;
  size_t at = static_cast<size_t>(id);
  return at < g_translations.size() ? g_translations[at] : kNone;
}

// UTF-8 words in the system's code page, as the driver reads a window's
// caption; the recorder hands them over in UTF-8.
std::string InCodePage(const std::string& utf8) {
#ifdef _WIN32
  int size = static_cast<int>(utf8.size());
  int wideLength = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  if (wideLength <= 0) return utf8;
  std::wstring wide(static_cast<size_t>(wideLength), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, &wide[0], wideLength);
  int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return utf8;
  std::string narrow(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, &narrow[0], length, nullptr, nullptr);
  return narrow;
#else
  return utf8;
#endif
}

// Every form documented words may reach a caption in: the English, and a
// translation the test accepted, in UTF-8 and in the system's code page.
std::vector<std::string> Forms(const DocumentedWords& words) {
  std::vector<std::string> forms{words.english};
  const std::string& translated = Translated(words.key);
  if (!translated.empty()) {
    forms.push_back(translated);
    forms.push_back(InCodePage(translated));
  }
  return forms;
}

// Whether text shows words as the row has them. A placeholder's number may
// be anything, so words count up to their first one; words that begin with
// one would match every text, and match none.
bool ShowsIn(const std::string& words, Follows follows, const std::string& text) {
  size_t placeholder = words.find('%');
  if (words.empty() || placeholder == 0) return false;
  if (placeholder == std::string::npos && follows == Follows::kNothing) return text == words;
  size_t length = placeholder == std::string::npos ? words.size() : placeholder;
  return text.compare(0, length, words, 0, length) == 0;
}

bool Shows(const DocumentedMessage& row, const std::string& text) {
  if (ShowsIn(row.text.english, row.follows, text)) return true;
  const std::string& translated = Translated(row.text.key);
  return !translated.empty() && ShowsIn(translated, row.follows, text);
}

// The rows whose words the text shows: more than one where the same words
// come with another caption.
std::vector<const DocumentedMessage*> RowsShowing(const std::string& text) {
  std::vector<const DocumentedMessage*> rows;
  for (size_t i = 0; i < kDocumentedMessageCount; ++i) {
    if (Shows(kDocumentedMessages[i], text)) rows.push_back(&kDocumentedMessages[i]);
  }
  return rows;
}

bool IsWords(const std::string& caption, const DocumentedWords& words) {
  for (const std::string& form : Forms(words)) {
    if (caption == form) return true;
  }
  return false;
}

// The dialog's caption for a project without a name, or a name and the words
// that follow one; a name too long for both is cut so that they still show.
bool IsOptionsCaption(const std::string& caption) {
  if (IsWords(caption, kOptionsCaption)) return true;
  for (const std::string& after : Forms(kOptionsCaptionAfterName)) {
    size_t size = after.size();
    if (caption.size() >= size && caption.compare(caption.size() - size, size, after) == 0) return true;
  }
  return false;
}

bool CaptionFits(const DocumentedMessage& row, const std::string& caption) {
  switch (row.caption) {
    case CaptionKind::kWords: return IsWords(caption, row.captionWords);
    case CaptionKind::kName:
      // Which name is the test's to check; none at all is no name.
      return !caption.empty();
    case CaptionKind::kNumber: return IsNumber(caption);
    case CaptionKind::kOptionsDialog: return IsOptionsCaption(caption);
  }
  return false;
}

// What the documents give a row, for a failure's line.
std::string Documented(const DocumentedMessage& row) {
  std::ostringstream out;
  out << "type 0x" << std::hex << row.type << " and caption ";
  switch (row.caption) {
    case CaptionKind::kWords: out << "[" << row.captionWords.english << "]"; break;
    case CaptionKind::kName: out << "naming what the message is about (not empty)"; break;
    case CaptionKind::kNumber: out << "an error number"; break;
    case CaptionKind::kOptionsDialog:
      out << "of the options dialog ([" << kOptionsCaption.english << "], or a name then ["
          << kOptionsCaptionAfterName.english << "])";
      break;
  }
  return out.str();
}

// Fails the test unless one of rows has the box's type and caption.
void ExpectOneFits(const std::vector<const DocumentedMessage*>& rows, const std::string& text,
                   const std::string& caption, uint32_t type) {
  std::string documented;
  for (const DocumentedMessage* row : rows) {
    if (row->type == type && CaptionFits(*row, caption)) return;
    documented += (documented.empty() ? "" : ", or ") + Documented(*row);
  }
  std::ostringstream shown;
  shown << "type 0x" << std::hex << type << " and caption [" << caption << "]";
  ADD_FAILURE() << "message box [" << caption << "] " << text << "\nhas " << shown.str() << " where the documents give "
                << documented;
}

}  // namespace

void AcceptTranslations(const std::vector<std::string>& texts) { g_translations = texts; }

bool ExpectedMessageType(const std::string& text, uint32_t* type) {
  if (IsNumber(text)) {
    *type = kErrorNumberMessage.type;
    return true;
  }
  std::vector<const DocumentedMessage*> rows = RowsShowing(text);
  if (rows.empty()) return false;
  *type = rows.front()->type;
  return true;
}

void CheckMessageType(const std::string& text, const std::string& caption, uint32_t type) {
  if (IsNumber(text)) {
    ExpectOneFits({&kErrorNumberMessage}, text, caption, type);
    return;
  }
  std::vector<const DocumentedMessage*> rows = RowsShowing(text);
  if (rows.empty()) {
    ADD_FAILURE() << "a message box the stub has no business showing: [" << caption << "] " << text;
    return;
  }
  ExpectOneFits(rows, text, caption, type);
}

}  // namespace testing_support
