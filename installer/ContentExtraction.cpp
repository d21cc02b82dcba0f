// The engine files every project needs, then the listed channel and project
// files.
#include <string.h>

#include "installer/Installer.h"
#include "payload/EngineFiles.h"
#include "platform/Message.h"
#include "platform/Text.h"

namespace installer {

namespace {

// List names are read into a 400-byte buffer, 399 bytes at a time.
constexpr int32_t kListNameRead = 399;

void ReportCopyFailure() {
  message::Show(
      "There was an error while trying to copy one of the installation files.\n"
      "Please make sure no applications are running that might be locking some files.",
      "Installation Error", message::kOk | message::kIconError);
}

float Fraction(double base, int32_t index, int32_t count) {
  double share = static_cast<double>(index) / count * 0.3;
  return static_cast<float>(share + base);
}

}  // namespace

bool Installer::ExtractEngineFiles() {
  for (const payload::EngineFile& file : payload::kEngineFiles) {
    if (!ExtractItem(file.name, file.decode)) {
      ReportCopyFailure();
      return false;
    }
  }
  return true;
}

bool Installer::ExtractChannels() {
  return ExtractList("ChannelCount", "ChannelItemNameID", "CHANNELINFO", 0.0, false) &&
         ExtractList("ChannelDLLCount", "ChannelDLLItemNameID", "CHANNELINFO", 0.3, true);
}

bool Installer::ExtractProjectFiles() { return ExtractList("FileCount", "ItemNameID", "FILEINFO", 0.6, true); }

bool Installer::ExtractList(const char* countName, const char* prefix, const char* type, double base, bool report) {
  int32_t count = 0;
  if (!ReadItem(countName, &count, sizeof(count), type)) {
    // Both channel counts share one text.
    message::Show(strcmp(type, "FILEINFO") == 0 ? "Can't find FileCount" : "Can't find ChannelCount", "Error",
                  message::kOk);
    return false;
  }
  for (int32_t i = 0; i < count; ++i) {
    if (report && progressWindow != nullptr) progressWindow->SetProgress(Fraction(base, i, count));
    char key[64];
    text::CopyAtMost(key, prefix, sizeof(key) - 12);
    text::AppendDecimal(key, sizeof(key), i);
    char name[kListNameRead + 1];
    if (!ReadItem(key, name, kListNameRead, type)) continue;
    name[kListNameRead] = '\0';
    // Project files named ".cgr" are stored as they are written.
    uint8_t decode = strcmp(type, "FILEINFO") == 0 && strstr(name, ".cgr") != nullptr ? 0 : 1;
    if (!ExtractListed(name, decode)) return false;
  }
  return true;
}

// A listed name that the payload lacks is passed over, as lists may name
// optional files; one that is there but cannot be written stops the
// installation, or a full disk would end in a success message.
bool Installer::ExtractListed(const char* name, uint8_t decode) {
  if (reader == nullptr || !reader->Contains(name, nullptr)) return true;
  if (ExtractItem(name, decode)) return true;
  ReportCopyFailure();
  return false;
}

}  // namespace installer
