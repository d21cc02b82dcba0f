#pragma once
// Folders an installation might be given, with whether it may take each as
// its own, from the documented rule (docs/unattended.md): a full path with
// a drive or a share, not a root, names Windows allows, one separator at
// the end at most. "{base}" stands for an existing folder of the test's.
// vpack's InstallPath and the stub's /D= must give each the same verdict.
namespace testing_support {

struct FolderCase {
  const char* path;
  bool accepted;
};

inline constexpr FolderCase kFolderCases[] = {
    {"{base}", true},
    {"{base}\\", true},
    {"{base}\\Harbour Tour", true},
    {"C:\\", false},
    {"c:/", false},
    {"\\\\server\\share", false},
    {"\\\\server\\share\\", false},
    {"{base}\\\\", false},
    {"{base}\\CON", false},
    {"{base}\\com1.txt", false},
    {"{base}\\Tour.", false},
    {"{base}\\Tour ", false},
    {"{base}\\a<b", false},
    {"relative\\folder", false},
    {"\\Tour", false},
    {"C:Tour", false},
};

}  // namespace testing_support
