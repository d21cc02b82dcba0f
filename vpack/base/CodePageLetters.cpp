#include "vpack/base/CodePageLetters.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace vpack {
namespace {

using Writing = std::unordered_map<unsigned, unsigned>;

unsigned RunLetter(const payload::CodePageTable& table, const payload::DoubleByteRun& run, unsigned offset) {
  return run.listed ? table.listed[run.first + offset] : run.first + offset;
}

// Each letter at the first code that reads as it, but where Windows writes
// another: the tables hold only the exceptions, so the rest is made once.
Writing MakeWriting(const payload::CodePageTable& table) {
  Writing writing;
  for (unsigned byte = 0x80; byte < 256; ++byte) {
    if (table.letters[byte] != 0) writing.emplace(table.letters[byte], byte);
  }
  for (unsigned i = 0; i < table.runCount; ++i) {
    const payload::DoubleByteRun& run = table.runs[i];
    for (unsigned k = 0; k < run.count; ++k) writing.emplace(RunLetter(table, run, k), run.code + k);
  }
  for (unsigned i = 0; i < table.writtenAsCount; ++i) {
    const payload::WrittenAs& as = table.writtenAs[i];
    if (as.code == 0) {
      writing.erase(as.letter);
    } else {
      writing[as.letter] = as.code;
    }
  }
  return writing;
}

const Writing& WritingOf(const payload::CodePageTable& table) {
  static std::mutex guard;
  static std::map<unsigned, std::unique_ptr<Writing>> made;
  std::lock_guard<std::mutex> lock(guard);
  std::unique_ptr<Writing>& writing = made[table.number];
  if (!writing) writing = std::make_unique<Writing>(MakeWriting(table));
  return *writing;
}

}  // namespace

unsigned LetterOfCode(const payload::CodePageTable& table, unsigned code) {
  if (code < 0x80) return code;
  if (code < 0x100) return table.letters[code];
  const payload::DoubleByteRun* end = table.runs + table.runCount;
  const payload::DoubleByteRun* run = std::upper_bound(
      table.runs, end, code, [](unsigned c, const payload::DoubleByteRun& r) { return c < r.code; });
  if (run == table.runs) return 0;
  --run;
  return code < run->code + run->count ? RunLetter(table, *run, code - run->code) : 0;
}

unsigned CodeOfLetter(const payload::CodePageTable& table, unsigned letter) {
  if (letter < 0x80) return letter;
  const Writing& writing = WritingOf(table);
  auto found = writing.find(letter);
  return found == writing.end() ? 0 : found->second;
}

}  // namespace vpack
