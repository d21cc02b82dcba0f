#include "tests/support/KitTexts.h"

#include <fstream>
#include <sstream>

namespace testing_support {
namespace {

void AppendUtf8(std::string& out, unsigned long code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// The basic string that starts at text[at] (its opening quote).
std::string BasicString(const std::string& text, size_t at) {
  std::string value;
  for (size_t i = at + 1; i < text.size() && text[i] != '"'; ++i) {
    if (text[i] != '\\' || i + 1 >= text.size()) {
      value += text[i];
      continue;
    }
    char escape = text[++i];
    if (escape == 'u' || escape == 'U') {
      size_t digits = escape == 'u' ? 4 : 8;
      AppendUtf8(value, std::stoul(text.substr(i + 1, digits), nullptr, 16));
      i += digits;
    } else {
      value += escape == 'n' ? '\n' : escape == 'r' ? '\r' : escape == 't' ? '\t' : escape;
    }
  }
  return value;
}

}  // namespace

bool ReadKitTexts(const std::string& path, std::map<std::string, std::string>* texts) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  std::string line;
  while (std::getline(file, line)) {
    // A quoted key holds no '=' of its own: none of the table's does.
    size_t equals = line.find('=');
    if (line.empty() || line[0] == '#' || line[0] == '[' || equals == std::string::npos) continue;
    size_t quote = line.find('"', equals);
    std::string key = line.substr(0, equals);
    key.erase(key.find_last_not_of(" \t") + 1);
    key.erase(0, key.find_first_not_of(" \t"));
    if (key.size() > 1 && key.front() == '"') key = key.substr(1, key.size() - 2);
    if (quote != std::string::npos) (*texts)[key] = BasicString(line, quote);
  }
  return true;
}

std::map<texts::Id, std::string> KitWords(const std::string& folder, const std::string& tag) {
  std::map<std::string, std::string> kit;
  std::map<texts::Id, std::string> words;
  if (!ReadKitTexts(folder + "/" + tag + ".toml", &kit)) return words;
  for (const auto& text : kit) {
    texts::Id id;
    if (texts::FindKey(text.first.c_str(), &id)) words[id] = text.second;
  }
  return words;
}

}  // namespace testing_support
