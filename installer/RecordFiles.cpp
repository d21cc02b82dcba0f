// The record files the installing flows leave in the installation folder,
// written as chunks through the engine's saver channel.
#include <string.h>

#include "installer/Installer.h"
#include "payload/EngineFiles.h"
#include "payload/InstalledNames.h"
#include "platform/Message.h"
#include "platform/ScopedHandle.h"
#include "platform/Text.h"

namespace installer {

namespace {

constexpr int32_t kScreenSaverTiming = 20;

// What the engine wrote there, for the uninstall entry's size; 0 where
// nothing is.
uint64_t BytesOf(const char* path) {
  platform::ScopedFile file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  LARGE_INTEGER size;
  return file.Valid() && GetFileSizeEx(file.Get(), &size) ? static_cast<uint64_t>(size.QuadPart) : 0;
}

void WriteChunk(engine::SaverChannel* saver, const char* tag, const void* data, uint32_t size) {
  saver->BeginChunk(tag);
  saver->SetChunkSize(size);
  saver->WriteData(data, size);
}

void WriteInteger(engine::SaverChannel* saver, const char* tag, int32_t value) {
  uint8_t bytes[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                      static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
  WriteChunk(saver, tag, bytes, sizeof(bytes));
}

void WriteField(engine::SaverChannel* saver, const char* tag, const char* value) {
  char field[kTextFieldSize];
  text::FillField(field, sizeof(field), value);
  WriteChunk(saver, tag, field, sizeof(field));
}

}  // namespace

bool Installer::WriteRecordFiles(const payload::RecordShape& shape, const char* projectName) {
  char record[kPathSize];
  char list[kPathSize];
  char configuration[kPathSize];
  // An installation without its record cannot be uninstalled: that is no
  // success, and the user is told which file is missing.
  const char* const names[] = {payload::kRecordName, payload::kEntryListName};
  char* const paths[] = {record, list};
  for (int i = 0; i < 2; ++i) {
    if (!text::Join(paths[i], kPathSize, workFolder, "\\", names[i])) {
      NoteFailure(FailureKind::kNoRecord, names[i], ERROR_FILENAME_EXCED_RANGE);
      return false;
    }
  }
  // A configuration path that does not fit is left unwritten rather than cut.
  const char* configurationPath =
      shape.configuration != nullptr && text::Join(configuration, kPathSize, workFolder, shape.configuration)
          ? configuration
          : nullptr;
  engine::Channel* channel = channelServices->CreateChannel(engine::kSaverChannelId, 0, 0);
  if (channel == nullptr) {
    NoteFailure(FailureKind::kNoRecord, record, 0);
    return false;
  }
  auto* saver = static_cast<engine::SaverChannel*>(channel);
  // The list's entry, then the configuration file's, last of all.
  bool complete = MergeEarlierList(list, configurationPath) &&
                  RecordFile(list, GetFileAttributesA(list) == INVALID_FILE_ATTRIBUTES) &&
                  (configurationPath == nullptr || WriteConfiguration(saver, shape, configurationPath)) &&
                  WriteEntryList(list) && WriteUninstallRecord(saver, shape, projectName, record);
  saver->Destroy(engine::kDeleteSelf);
  bytesWritten += BytesOf(record) + (configurationPath != nullptr ? BytesOf(configurationPath) : 0);
  return complete;
}

bool Installer::WriteConfiguration(engine::SaverChannel* saver, const payload::RecordShape& shape, const char* path) {
  char start[kPathSize];
  bool complete = true;
  bool isNew = GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES;
  if (isNew) NoteNew(path);
  if (text::Join(start, kPathSize, workFolder, "\\" VDL_START_FILE_NAME) && saver->Open(path, 0) != 0) {
    WriteField(saver, "SCFP", start);
    WriteInteger(saver, "SCTI", kScreenSaverTiming);
    if (shape.saverFlags) complete = WriteScreenSaverFlags(saver);
  }
  saver->Close();
  if (!complete) return false;
  // Listed even when it could not be opened, so the uninstaller still looks.
  Record(createdFiles, path, isNew);
  return true;
}

bool Installer::WriteScreenSaverFlags(engine::SaverChannel* saver) {
  const payload::Setting* const settings[] = {&payload::kDoQuitCgr, &payload::kDoSmallPreview};
  const char* const tags[] = {"SCQC", "SCSP"};
  for (int i = 0; i < 2; ++i) {
    uint8_t value = 0;
    if (!ReadSetting(*settings[i], &value)) return false;
    WriteChunk(saver, tags[i], &value, 1);
  }
  return true;
}

bool Installer::WriteUninstallRecord(engine::SaverChannel* saver, const payload::RecordShape& shape,
                                     const char* projectName, const char* path) {
  // A record cut short by a failure must not stay where none was.
  if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) NoteNew(path);
  SetLastError(0);
  bool opened = saver->Open(path, 0) != 0;
  if (!opened) NoteFailure(FailureKind::kNoRecord, path, GetLastError());
  if (opened) {
    int32_t files = createdFiles.Count();
    WriteInteger(saver, "UNFC", files);
    for (int32_t i = 0; i < files; ++i) WriteField(saver, "UNFN", static_cast<const char*>(createdFiles.Get(i)));
    WriteInteger(saver, "UNDC", createdFolders.Count() + keptFolders.Count());
    // Newest first: every folder comes before its parent, an earlier run's
    // after this one's.
    const payload::PointerList* const lists[] = {&createdFolders, &keptFolders};
    for (const payload::PointerList* folders : lists) {
      for (int32_t i = folders->Count() - 1; i >= 0; --i) {
        WriteField(saver, "UNDN", static_cast<const char*>(folders->Get(i)));
      }
    }
    WriteChunk(saver, "UNPN", projectName, kTextFieldSize);
    if (shape.moduleMark) saver->BeginChunk("UNSK");
  }
  saver->Close();
  return opened;
}

}  // namespace installer
