// The kit's page on the runtime (docs/runtime.md) names every file an
// installer extracts by name and which project type extracts it; the stub
// and vpack take the same facts from the payload's tables. Read from the
// page, so that a file added to a table and not to the page, or the other
// way round, fails here.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "payload/EngineFiles.h"
#include "payload/ProjectTypes.h"
#include "payload/RuntimeFiles.h"
#include "tests/support/TempDir.h"

namespace {

// File name -> the project types whose column says "yes".
std::map<std::string, std::set<uint32_t>> TableOfThePage() {
  const uint32_t columns[] = {payload::kRunInPlace, payload::kStandalone, payload::kScreenSaver,
                              payload::kWinampPlugin};
  std::map<std::string, std::set<uint32_t>> table;
  std::istringstream page(testing_support::ReadFileBytes(VDL_SOURCE_DIR "/docs/runtime.md"));
  for (std::string line; std::getline(page, line);) {
    if (line.compare(0, 3, "| `") != 0) continue;
    std::vector<std::string> cells;
    std::istringstream row(line.substr(1));
    for (std::string cell; std::getline(row, cell, '|');) cells.push_back(cell);
    if (cells.size() < 6) continue;
    std::string name = cells[0].substr(cells[0].find('`') + 1);
    name = name.substr(0, name.find('`'));
    std::set<uint32_t>& types = table[name];
    for (int i = 0; i < 4; ++i) {
      if (cells[2 + i].find("yes") != std::string::npos) types.insert(columns[i]);
    }
  }
  return table;
}

TEST(RuntimeDoc, FileTable_SameFilesAndTypesAsThePayloadsTables) {
  std::map<std::string, std::set<uint32_t>> expected;
  const uint32_t all[] = {payload::kRunInPlace, payload::kStandalone, payload::kScreenSaver, payload::kWinampPlugin};
  for (const payload::EngineFile& file : payload::kEngineFiles) expected[file.name] = std::set<uint32_t>(all, all + 4);
  for (const payload::RuntimeFiles& files : payload::kRuntimeFiles) {
    for (uint32_t i = 0; i < files.count; ++i) expected[files.names[i]].insert(files.type);
  }
  for (const payload::ProgramFile& program : payload::kProgramFiles) EXPECT_EQ(1u, expected.count(program.name));
  EXPECT_EQ(expected, TableOfThePage());
}

}  // namespace
