// What vpack verify checks in one installer.
#include "vpack/read/Verify.h"

#include <stdio.h>
#include <string.h>

#include "payload/Languages.h"
#include "payload/Licence.h"
#include "payload/LittleEndian.h"
#include "payload/PayloadFormat.h"
#include "payload/ProjectTypes.h"
#include "vpack/base/CodePage.h"
#include "vpack/base/Progress.h"
#include "vpack/rules/ContentChecks.h"
#include "vpack/read/FileChecks.h"
#include "vpack/base/Error.h"
#include "vpack/read/InstallerFile.h"
#include "vpack/rules/PathLimits.h"
#include "vpack/rules/SettingValues.h"
#include "vpack/rules/Settings.h"
#include "vpack/rules/StorageRules.h"
#include "vpack/read/StoredLicences.h"
#include "vpack/read/StoredTexts.h"
#include "vpack/read/StubVersion.h"
#include "vpack/rules/StubCheck.h"
#include "vpack/rules/Switches.h"
#include "vpack/rules/TextWidths.h"

namespace vpack {
namespace {

std::string CrcProblem(uint32_t actual, uint32_t stated) {
  char line[64];
  snprintf(line, sizeof(line), "checksum %08X, the directory says %08X", actual, stated);
  return line;
}

// What follows the payload's trailer: nothing, or the certificate table a
// signing tool appends (after up to 7 bytes that align it) and names in the
// stub's headers. Anything else is not the installer's, and is most likely
// a second installer after the first: its files are never installed.
std::string TrailingProblem(const InstallerFile& installer, const StubReport& stub) {
  uint64_t end = installer.PayloadEnd(), size = installer.FileSize();
  if (size <= end) return std::string();
  bool certificate = stub.certificateSize != 0 && stub.certificateAt >= end && stub.certificateAt - end < 8 &&
                     stub.certificateAt + stub.certificateSize == size;
  if (certificate) return std::string();
  return std::to_string(size - end) + " bytes follow the payload's trailer (at offset " + std::to_string(end) +
         "), and no signature the stub names: another installer appended to this one? The installer ignores them";
}

// The project type the installer reads, or 0 when it reads none; the
// content checks say why.
uint32_t ProjectTypeOf(const std::vector<packager::Item>& items) {
  for (const packager::Item& item : items) {
    if (SameItemName(item.type, payload::kTypeAppData) && SameItemName(item.name, payload::kProjectTypeSetting.name)) {
      return item.data.size() == 4 ? payload::ReadLittleEndian32(item.data.data()) : 0;
    }
  }
  return 0;
}

// The text of a setting as the installer reads it: up to its terminator.
std::string SettingTextOf(const std::vector<packager::Item>& items, const char* name) {
  for (const packager::Item& item : items) {
    if (SameItemName(item.type, payload::kTypeAppData) && SameItemName(item.name, name)) {
      std::string text(item.data.begin(), item.data.end());
      return text.substr(0, text.find('\0'));
    }
  }
  return std::string();
}

// The settings' values, by the rule pack applies too; in the code page.
void CheckSettingValues(const std::vector<packager::Item>& items, const CodePage& page,
                        std::vector<std::string>& problems) {
  uint32_t type = ProjectTypeOf(items);
  for (const char* name : RequiredSettings(type)) {
    std::string text = SettingTextOf(items, name);
    std::string problem = SettingValueProblem(name, text, type, page.Number());
    if (!problem.empty()) problems.push_back(ItemLabel(payload::kTypeAppData, name) + " (" + Quoted(text) + ") " + problem);
  }
}

// The paths the installation writes, by the rule pack applies too.
void CheckPaths(const std::vector<packager::Item>& items, const CodePage& page, std::vector<std::string>& problems,
                std::vector<std::string>& warnings) {
  uint32_t type = ProjectTypeOf(items);
  if (payload::FindProjectType(type) == nullptr) return;
  const char* setting = InstallFolderSetting(type);
  std::vector<std::string> names;
  for (const packager::Item& item : items) {
    if (IsFileItem(item)) names.push_back(item.name);
  }
  PathFindings findings = CheckInstalledPaths(type, setting ? SettingTextOf(items, setting) : "", names, page);
  // In UTF-8 already, unlike the problems found so far.
  for (std::string& error : findings.errors) problems.push_back(error);
  for (std::string& warning : findings.warnings) warnings.push_back(warning);
}

// A text shown is the page's own bytes back from UTF-8.
void CheckTextWidth(const StoredText& text, const std::string& label, const CodePage& page,
                    std::vector<std::string>& warnings) {
  if (!text.id || !text.problem.empty()) return;
  std::string problem;
  std::string bytes = page.FromUtf8(text.text, problem);
  std::string cut = problem.empty() ? WidthWarning(page, *text.id, bytes) : std::string();
  if (!cut.empty()) warnings.push_back(page.ToUtf8(label) + " " + cut);
}

// Each language as the stub reads it when it picks that one; its words
// measured in the face of that language's Windows.
void CheckLanguages(const InstallerFile& installer, const std::vector<StoredLanguage>& languages,
                    std::vector<std::string>& problems, std::vector<std::string>& warnings) {
  for (const StoredLanguage& language : languages) {
    const payload::PayloadEntry& entry = installer.Entry(language.index);
    std::string label = ItemLabel(entry.type, entry.name);
    if (language.intact && !language.problem.empty()) problems.push_back(label + ": " + language.problem);
    const payload::Language* known = payload::FindLanguage(language.tag.c_str());
    for (const StoredText& text : language.texts) {
      std::string key = text.id ? texts::Key(*text.id) : "#" + std::to_string(text.index);
      if (!text.problem.empty()) problems.push_back(label + ": text " + key + ": " + text.problem);
      if (known != nullptr) CheckTextWidth(text, label + ": text " + key, CodePage(known->codePage), warnings);
    }
  }
}

void CheckLicences(const InstallerFile& installer, std::vector<std::string>& problems) {
  for (const StoredLicence& licence : StoredLicences(installer)) {
    if (!licence.problem.empty()) {
      problems.push_back(ItemLabel(payload::kTypeLicence, licence.tag) + ": " + licence.problem);
    }
  }
}

}  // namespace

std::vector<std::string> InstallerProblems(const std::string& path, InstallerFacts* facts, unsigned codePage,
                                           bool showProgress) {
  std::unique_ptr<InstallerFile> installer;
  try {
    installer = std::make_unique<InstallerFile>(path);
  } catch (const NoPayload& none) {
    if (facts != nullptr) facts->intact = false;
    return {none.problem};
  }
  CodePage page(installer->CodePageOf(codePage));
  std::vector<packager::Item> items = installer->HeldItems();
  StubReport stub = CheckStub(path, static_cast<uint64_t>(installer->Reader().MarkerOffset()), ProjectTypeOf(items));
  std::vector<std::string> problems, warnings;
  bool intact = true;
  for (const std::string& problem : stub.problems) problems.push_back("stub: " + problem);
  std::vector<std::string> unreadable;  // CheckContents reports them
  WrittenForms forms(ReadLists(items, unreadable));
  Progress progress("verifying", PayloadBytes(*installer), showProgress);
  uint64_t done = 0;
  for (int32_t i = 0; i < installer->Count(); ++i) {
    const payload::PayloadEntry& entry = installer->Entry(i);
    progress.Update(done, page.ToUtf8(entry.name));
    done += entry.size;
    ItemVerdict verdict = CheckItemBytes(*installer, i, forms, stub.machine);
    std::string label = ItemLabel(entry.type, entry.name);
    if (verdict.crc != entry.crc) problems.push_back(label + ": " + CrcProblem(verdict.crc, entry.crc));
    if (!verdict.problem.empty()) problems.push_back(label + ": " + verdict.problem);
    if (!verdict.warning.empty()) warnings.push_back(page.ToUtf8(label + ": " + verdict.warning));
    intact = intact && verdict.crc == entry.crc && !verdict.damaged;
  }
  std::string trailing = TrailingProblem(*installer, stub);
  if (!trailing.empty()) problems.push_back(trailing);
  intact = intact && trailing.empty();
  for (std::string& problem : CheckContents(items, page.Number())) problems.push_back(std::move(problem));
  CheckSettingValues(items, page, problems);
  // A damaged text's checksum is reported with every item's above.
  for (const StoredText& text : StoredTexts(*installer, page)) {
    const payload::PayloadEntry& entry = installer->Entry(text.index);
    if (text.intact && !text.problem.empty()) {
      problems.push_back(ItemLabel(entry.type, entry.name) + ": " + text.problem);
    }
    CheckTextWidth(text, ItemLabel(entry.type, entry.name), page, warnings);
  }
  // A problem is ASCII words around the payload's own text, its types and
  // names, which are in the code page; the languages' words are UTF-8.
  for (std::string& problem : problems) problem = page.ToUtf8(problem);
  std::vector<StoredLanguage> languages = StoredLanguages(*installer);
  CheckLanguages(*installer, languages, problems, warnings);
  CheckLicences(*installer, problems);
  CheckPaths(items, page, problems, warnings);
  if (facts != nullptr) {
    uint64_t stubSize = static_cast<uint64_t>(installer->Reader().MarkerOffset());
    *facts = {items.size(), intact, std::move(warnings), stub.certificateSize,
              OwnStubVersion(StubVersion(path, stubSize)), page.Number(), {}, {}};
    for (const StoredLanguage& language : languages) {
      facts->languages.push_back(language.tag);
      if (language.isDefault) facts->defaultLanguage = language.tag;
    }
  }
  return problems;
}

}  // namespace vpack
