#include "tests/faults/KnownFaults.h"

#include <string.h>

#include <vector>

namespace sweep {
namespace {

constexpr char kUnrecorded[] =
    "a file whose path cannot be kept for the uninstall record (no memory) is installed but left out of the record, "
    "so the uninstaller leaves it, and the success is shown";
constexpr char kNoSaver[] =
    "the screen-saver module that cannot be extracted is not reported, and the success is shown without it";
constexpr char kNoPlugin[] =
    "the plug-in module that cannot be extracted is not reported, and the success is shown without it";
constexpr char kPluginCopy[] = "a plug-in copy that fails is reported, and the success is still shown";
constexpr char kSaverCopy[] = "a screen-saver copy that fails is reported, and the success is still shown";

// Found by the whole sweep of the x86_64 stub (scripts/fault-sweep.sh) on
// 2026-12-09, written by scripts/known-faults.py; the sample in ctest meets
// some of them.
const std::vector<Known> kKnown = {
    {Flow::kScreenSaver, "fresh", "SetFilePointerEx", 32, kNoSaver},
    {Flow::kScreenSaver, "fresh", "ReadFile", 32, kNoSaver},
    {Flow::kScreenSaver, "fresh", "SetFilePointerEx", 33, kNoSaver},
    {Flow::kScreenSaver, "fresh", "CreateFileA", 21, kNoSaver},
    {Flow::kScreenSaver, "fresh", "CreateFileA", 22, kNoSaver},
    {Flow::kScreenSaver, "fresh", "malloc", 97, kNoSaver},
    {Flow::kScreenSaver, "fresh", "ReadFile", 33, kNoSaver},
    {Flow::kScreenSaver, "fresh", "WriteFile", 11, kNoSaver},
    {Flow::kScreenSaver, "fresh", "malloc", 98, kUnrecorded},
    {Flow::kScreenSaver, "fresh", "SetFilePointerEx", 34, kNoSaver},
    {Flow::kScreenSaver, "fresh", "ReadFile", 34, kNoSaver},
    {Flow::kScreenSaver, "fresh", "SetFilePointerEx", 35, kNoSaver},
    {Flow::kScreenSaver, "fresh", "ReadFile", 35, kNoSaver},
    {Flow::kScreenSaver, "fresh", "SetFilePointerEx", 36, kNoSaver},
    {Flow::kScreenSaver, "fresh", "CreateFileA", 23, kNoSaver},
    {Flow::kScreenSaver, "fresh", "CreateFileA", 24, kNoSaver},
    {Flow::kScreenSaver, "fresh", "malloc", 99, kNoSaver},
    {Flow::kScreenSaver, "fresh", "ReadFile", 36, kNoSaver},
    {Flow::kScreenSaver, "fresh", "WriteFile", 12, kNoSaver},
    {Flow::kScreenSaver, "fresh", "malloc", 100, kSaverCopy},
    {Flow::kScreenSaver, "over", "SetFilePointerEx", 32, kUnrecorded},
    {Flow::kScreenSaver, "over", "ReadFile", 32, kUnrecorded},
    {Flow::kScreenSaver, "over", "SetFilePointerEx", 33, kUnrecorded},
    {Flow::kScreenSaver, "over", "CreateFileA", 21, kUnrecorded},
    {Flow::kScreenSaver, "over", "CreateFileA", 22, kUnrecorded},
    {Flow::kScreenSaver, "over", "malloc", 93, kUnrecorded},
    {Flow::kScreenSaver, "over", "ReadFile", 33, kUnrecorded},
    {Flow::kScreenSaver, "over", "WriteFile", 11, kUnrecorded},
    {Flow::kScreenSaver, "over", "MoveFileExA", 11, kUnrecorded},
    {Flow::kScreenSaver, "over", "malloc", 94, kUnrecorded},
    {Flow::kScreenSaver, "over", "SetFilePointerEx", 35, kSaverCopy},
    {Flow::kScreenSaver, "over", "ReadFile", 35, kSaverCopy},
    {Flow::kScreenSaver, "over", "SetFilePointerEx", 36, kSaverCopy},
    {Flow::kScreenSaver, "over", "CreateFileA", 23, kSaverCopy},
    {Flow::kScreenSaver, "over", "CreateFileA", 24, kSaverCopy},
    {Flow::kScreenSaver, "over", "malloc", 95, kSaverCopy},
    {Flow::kScreenSaver, "over", "ReadFile", 36, kSaverCopy},
    {Flow::kScreenSaver, "over", "WriteFile", 12, kSaverCopy},
    {Flow::kScreenSaver, "over", "MoveFileExA", 12, kSaverCopy},
    {Flow::kScreenSaver, "over", "malloc", 96, kSaverCopy},
    {Flow::kPlugin, "fresh", "SetFilePointerEx", 32, kNoPlugin},
    {Flow::kPlugin, "fresh", "ReadFile", 32, kNoPlugin},
    {Flow::kPlugin, "fresh", "SetFilePointerEx", 33, kNoPlugin},
    {Flow::kPlugin, "fresh", "CreateFileA", 21, kNoPlugin},
    {Flow::kPlugin, "fresh", "CreateFileA", 22, kNoPlugin},
    {Flow::kPlugin, "fresh", "malloc", 93, kNoPlugin},
    {Flow::kPlugin, "fresh", "ReadFile", 33, kNoPlugin},
    {Flow::kPlugin, "fresh", "WriteFile", 11, kNoPlugin},
    {Flow::kPlugin, "fresh", "malloc", 94, kUnrecorded},
    {Flow::kPlugin, "fresh", "SetFilePointerEx", 34, kNoPlugin},
    {Flow::kPlugin, "fresh", "ReadFile", 34, kNoPlugin},
    {Flow::kPlugin, "fresh", "SetFilePointerEx", 35, kNoPlugin},
    {Flow::kPlugin, "fresh", "CreateFileA", 23, kNoPlugin},
    {Flow::kPlugin, "fresh", "CreateFileA", 24, kNoPlugin},
    {Flow::kPlugin, "fresh", "malloc", 95, kNoPlugin},
    {Flow::kPlugin, "fresh", "ReadFile", 35, kNoPlugin},
    {Flow::kPlugin, "fresh", "WriteFile", 12, kNoPlugin},
    {Flow::kPlugin, "fresh", "malloc", 96, kPluginCopy},
    {Flow::kPlugin, "over", "SetFilePointerEx", 32, kUnrecorded},
    {Flow::kPlugin, "over", "ReadFile", 32, kUnrecorded},
    {Flow::kPlugin, "over", "SetFilePointerEx", 33, kUnrecorded},
    {Flow::kPlugin, "over", "CreateFileA", 21, kUnrecorded},
    {Flow::kPlugin, "over", "CreateFileA", 22, kUnrecorded},
    {Flow::kPlugin, "over", "malloc", 89, kUnrecorded},
    {Flow::kPlugin, "over", "ReadFile", 33, kUnrecorded},
    {Flow::kPlugin, "over", "WriteFile", 11, kUnrecorded},
    {Flow::kPlugin, "over", "MoveFileExA", 11, kUnrecorded},
    {Flow::kPlugin, "over", "malloc", 90, kUnrecorded},
    {Flow::kPlugin, "over", "SetFilePointerEx", 34, kPluginCopy},
    {Flow::kPlugin, "over", "ReadFile", 34, kPluginCopy},
    {Flow::kPlugin, "over", "SetFilePointerEx", 35, kPluginCopy},
    {Flow::kPlugin, "over", "CreateFileA", 23, kPluginCopy},
    {Flow::kPlugin, "over", "CreateFileA", 24, kPluginCopy},
    {Flow::kPlugin, "over", "malloc", 91, kPluginCopy},
    {Flow::kPlugin, "over", "ReadFile", 35, kPluginCopy},
    {Flow::kPlugin, "over", "WriteFile", 12, kPluginCopy},
    {Flow::kPlugin, "over", "MoveFileExA", 12, kPluginCopy},
    {Flow::kPlugin, "over", "malloc", 92, kPluginCopy},
};

}  // namespace

const Known* FindKnown(Flow flow, const char* installation, const std::string& call, int occurrence) {
  for (const Known& known : kKnown) {
    if (known.flow == flow && strcmp(known.installation, installation) == 0 && call == known.call &&
        occurrence == known.occurrence) {
      return &known;
    }
  }
  return nullptr;
}

}  // namespace sweep
