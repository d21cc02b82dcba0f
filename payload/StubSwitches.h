#pragma once
// The switches of an unattended installation (docs/unattended.md) and the
// stub version that first took them: the stub reads its command line by
// these names, and vpack tells by an installer's stub version which of them
// it takes, so that the two cannot name different switches.
#include <stddef.h>
#include <stdint.h>

// Upper case, as the stub compares them; case does not matter to it.
// Macros, so that the stub compares against plain literals, which cost it
// less than arrays of their own.
#define VDL_SILENT_SWITCH "/S"
#define VDL_FOLDER_SWITCH "/D="
#define VDL_LOG_SWITCH "/LOG="
#define VDL_LANGUAGE_SWITCH "/LANG="

namespace payload {

inline constexpr char kSilentSwitch[] = VDL_SILENT_SWITCH;
inline constexpr char kFolderSwitch[] = VDL_FOLDER_SWITCH;
inline constexpr char kLogSwitch[] = VDL_LOG_SWITCH;
inline constexpr char kLanguageSwitch[] = VDL_LANGUAGE_SWITCH;

constexpr const char* kStubSwitches[] = {kSilentSwitch, kFolderSwitch, kLogSwitch};

// Major, minor, patch and build of the first stub that took them.
inline constexpr uint16_t kSwitchesSince[4] = {1, 3, 0, 0};
// And of the first that took the language's switch, and carried many.
inline constexpr uint16_t kLanguagesSince[4] = {1, 4, 0, 0};

// How long a switch's name is, for the text that follows it.
template <size_t N>
constexpr size_t SwitchLength(const char (&)[N]) {
  return N - 1;
}

}  // namespace payload
