#pragma once
// What each project type reads from the payload: its settings, each at a
// fixed width, and the three lists the installer walks. The stub's flows,
// vpack and the tests all take names and widths from here, so that a setting
// one of them needs cannot go missing from another.
#include <stdint.h>
#include <string.h>

#include "payload/PayloadFormat.h"

namespace payload {

enum ProjectType : uint32_t {
  kRunInPlace = 1,
  kStandalone = 2,
  kScreenSaver = 5,
  kWinampPlugin = 6,
};

// An APPDATA item read at exactly this many bytes: a wrong width is as bad as
// a missing setting. The name is held in the setting itself, so that every
// file that reads it refers to the one object, not to a copy of a literal
// (a name too long for it does not compile).
struct Setting {
  char name[20];
  uint32_t size;
};

constexpr uint32_t kNumberSize = 4;
constexpr uint32_t kFlagSize = 1;

inline constexpr Setting kProjectTypeSetting = {"ProjectType", kNumberSize};
inline constexpr Setting kCheckDx8 = {"CheckDx8", kFlagSize};
inline constexpr Setting kRunAfterInstall = {"RunAfterInstall", kFlagSize};
inline constexpr Setting kDoQuitCgr = {"DoQuitCgr", kFlagSize};
inline constexpr Setting kDoSmallPreview = {"DoSmallPreview", kFlagSize};
inline constexpr Setting kWinampVersion = {"WinampVersion", kFlagSize};
inline constexpr Setting kInstallPath = {"InstallPath", kTextSettingSize};
inline constexpr Setting kShortCutName = {"ShortCutName", kTextSettingSize};
inline constexpr Setting kProjectName = {"ProjectName", kTextSettingSize};
inline constexpr Setting kStartupDirectory = {"StartupDirectory", kTextSettingSize};
// The code page the payload's names and text settings are written in,
// recorded by the packager so that its list and extract show them right
// without being told; the stub reads it once, to tell a system of another
// page whose letters it lacks. The installer's own words are in Unicode.
inline constexpr Setting kCodePageSetting = {"CodePage", kNumberSize};
// Optional: who made the product and which version it is, written into the
// uninstall entry where the payload has them. Absent, the entry is as before.
inline constexpr Setting kDisplayVersion = {"DisplayVersion", kTextSettingSize};
inline constexpr Setting kPublisher = {"Publisher", kTextSettingSize};
// Optional too: where to read of the product and where to find help, the
// addresses the list of programs links.
inline constexpr Setting kAboutUrl = {"URLInfoAbout", kTextSettingSize};
inline constexpr Setting kHelpLink = {"HelpLink", kTextSettingSize};

// Every setting, in the order the packager writes them.
constexpr const Setting* kAllSettings[] = {
    &kProjectTypeSetting, &kCheckDx8,     &kRunAfterInstall, &kDoQuitCgr,     &kDoSmallPreview,
    &kWinampVersion,      &kInstallPath, &kShortCutName,    &kProjectName, &kStartupDirectory,
    &kCodePageSetting,    &kDisplayVersion, &kPublisher,    &kAboutUrl,        &kHelpLink,
};

constexpr uint32_t kMaxTypeSettings = 6;

// What an installation leaves beside its files for the uninstaller, besides
// "uninstall.nfo": the engine's configuration file of its module ("\name",
// none when null), whether that file holds the screen saver's two flags,
// and whether the uninstall record ends with the mark of a module placed
// outside the installation folder.
struct RecordShape {
  const char* configuration;
  bool saverFlags;
  bool moduleMark;
};

struct ProjectTypeInfo {
  uint32_t type;
  // As a publisher's messages name the type.
  const char* name;
  // The installing types need an administrator; a run in place does not.
  bool installs;
  uint32_t settingCount;
  // Besides ProjectType and the list counts.
  const Setting* settings[kMaxTypeSettings];
  // The installing types' records; a run in place leaves none.
  RecordShape record;
};

constexpr ProjectTypeInfo kProjectTypes[] = {
    {kRunInPlace, "run in place", false, 1, {&kCheckDx8}, {nullptr, false, false}},
    {kStandalone,
     "standalone",
     true,
     5,
     {&kCheckDx8, &kRunAfterInstall, &kInstallPath, &kShortCutName, &kProjectName},
     {nullptr, false, false}},
    {kScreenSaver,
     "screen saver",
     true,
     6,
     {&kCheckDx8, &kRunAfterInstall, &kInstallPath, &kProjectName, &kDoQuitCgr, &kDoSmallPreview},
     {"\\screensaver.cfg", true, true}},
    {kWinampPlugin,
     "Winamp plug-in",
     true,
     4,
     {&kCheckDx8, &kStartupDirectory, &kProjectName, &kWinampVersion},
     {"\\winamp.cfg", false, true}},
};

// Null for a type the stub ignores.
constexpr const ProjectTypeInfo* FindProjectType(uint32_t type) {
  for (const ProjectTypeInfo& info : kProjectTypes) {
    if (info.type == type) return &info;
  }
  return nullptr;
}

// The record shape of an installing type, taken where the type is known
// when the program is compiled, so that the table itself need not be kept.
constexpr RecordShape RecordOf(uint32_t type) { return FindProjectType(type)->record; }

// A list: a count item and one name item per entry, "<prefix><index>".
struct ListInfo {
  const char* countName;
  const char* entryPrefix;
  const char* type;
};

constexpr ListInfo kChannelList = {"ChannelCount", "ChannelItemNameID", kTypeChannelInfo};
constexpr ListInfo kChannelModuleList = {"ChannelDLLCount", "ChannelDLLItemNameID", kTypeChannelInfo};
constexpr ListInfo kProjectFileList = {"FileCount", "ItemNameID", kTypeFileInfo};

// What marks a project file the installer copies, in lower case, anywhere in
// its name.
inline constexpr char kCopiedMark[] = ".cgr";

// Whether the installer writes a listed file as stored instead of decoding
// it through the engine: a project file (listType "FILEINFO") whose name
// holds kCopiedMark ("theme.cgr", "a.cgr.bak"; not "THEME.CGR"). The
// installer and vpack both decide by this one function.
inline bool IsCopiedProjectFile(const char* listType, const char* name) {
  return strcmp(listType, kTypeFileInfo) == 0 && strstr(name, kCopiedMark) != nullptr;
}

}  // namespace payload
