#pragma once
// Items by type and name as the installer looks them up (ASCII case ignored,
// the first of a name wins), found in constant time: checks that looked up
// every listed name by walking the payload took quadratic time on projects of
// thousands of files.
#include <string>
#include <unordered_map>
#include <vector>

#include "packager/PayloadBuilder.h"
#include "platform/Text.h"

namespace vpack {

// Item names and types compare as the installer compares them, by the
// stub's own comparison: ASCII letters' case ignored, nothing else. (Windows
// folds more when it makes files: CodePage::Folded.)
inline bool SameItemName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && text::EqualNoCaseN(a.data(), b.data(), a.size());
}

// A name with ASCII letters in lower case: equal keys, equal names to the
// installer.
inline std::string NameKey(const std::string& name) {
  std::string key = name;
  for (char& c : key) c = text::LowerAscii(c);
  return key;
}

class ItemIndex {
 public:
  explicit ItemIndex(const std::vector<packager::Item>& items) : count_(items.size()) {
    for (const packager::Item& item : items) items_.emplace(Key(item.type, item.name), &item);
  }

  // Null when there is none.
  const packager::Item* Find(const std::string& type, const std::string& name) const {
    auto found = items_.find(Key(type, name));
    return found == items_.end() ? nullptr : found->second;
  }

  size_t Size() const { return count_; }

 private:
  static std::string Key(const std::string& type, const std::string& name) {
    return NameKey(type) + '\0' + NameKey(name);
  }

  size_t count_;
  std::unordered_map<std::string, const packager::Item*> items_;
};

}  // namespace vpack
