#include "standins/engine/EngineSwitches.h"

#include "standins/common/LogFile.h"

namespace standin {
namespace {

std::string Trimmed(const std::string& text) {
  size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

}  // namespace

std::string EngineVariable(const char* name) { return standin_log::Variable(name); }

bool EngineSwitchSet(const char* name, const char* word) {
  std::string list = EngineVariable(name);
  size_t start = 0;
  while (start <= list.size()) {
    size_t comma = list.find(',', start);
    if (comma == std::string::npos) comma = list.size();
    if (Trimmed(list.substr(start, comma - start)) == word) return true;
    start = comma + 1;
  }
  return false;
}

}  // namespace standin
