#include "installer/Installer.h"

#include "installer/ReaderMessages.h"
#include "platform/Log.h"
#include "platform/Message.h"
#include "platform/ShutdownBlock.h"
#include "platform/Text.h"

namespace installer {
namespace {

constexpr DWORD kPeekEveryMs = 10;
// Zero before the first peek, which is then never skipped.
DWORD lastPeek;

}  // namespace

Installer::Installer(payload::PayloadReader* payloadReader)
    : instance(nullptr),
      engineModule(nullptr),
      itemData(nullptr),
      itemSize(0),
      engineControl(nullptr),
      channelServices(nullptr),
      loaderChannel(nullptr),
      parentWindow(nullptr),
      progressWindow(nullptr),
      reader(payloadReader),
      unattended{false, nullptr},
      exitCode(kExitFailed),
      reportedOnTheWay(false),
      installing(false),
      completed(false),
      viewerInstalled(false),
      bytesWritten(0),
      payloadCodePage(0) {
  ui::Note(failure, FailureKind::kNone, nullptr, 0);
  workFolder[0] = '\0';
  menuFolder[0] = '\0';
  cursor.inList = false;
  cursor.aheadIndex = -1;
  cursor.knownFolder[0] = '\0';
}

Installer::~Installer() {
  platform::AllowShutdown();
  delete progressWindow;
  progressWindow = nullptr;
  delete reader;
  reader = nullptr;
  // The path copies are released by whoever consumed the lists; the process
  // ends right after the flow, so what is left here is the lists' storage.
  createdFolders.Clear();
  keptFolders.Clear();
  createdFiles.Clear();
  newFiles.Clear();
}

bool Installer::PushCopy(payload::PointerList& list, const char* path) {
  char* copy = text::Duplicate(path);
  if (copy != nullptr && list.Push(copy) >= 0) return true;
  delete[] copy;
  return false;
}

bool Installer::NoteNew(const char* path) { return PushCopy(newFiles, path); }

void Installer::ReleaseItemMemory() {
  if (reader != nullptr) reader->ReleaseData();
  itemData = nullptr;
  itemSize = 0;
}

void Installer::SetHost(HINSTANCE newInstance, HWND newParentWindow) {
  instance = newInstance;
  parentWindow = newParentWindow;
}

bool Installer::ReadItem(const char* name, void* buffer, int32_t size, const char* type) {
  return ReadFound(Item(name, type), buffer, size);
}

const payload::PayloadEntry* Installer::Item(const char* name, const char* type) const {
  return reader != nullptr ? reader->Item(name, type) : nullptr;
}

bool Installer::ReadFound(const payload::PayloadEntry* entry, void* buffer, int32_t size) {
  if (reader == nullptr) return false;
  bool found = reader->ReadEntry(entry, buffer, size);
  ReportCrcMismatch(*reader);
  if (buffer != nullptr) return found;
  itemData = reader->Data();
  itemSize = reader->DataSize();
  return found;
}

bool Installer::ReadSetting(const payload::Setting& setting, void* buffer) {
  if (ReadItem(setting.name, buffer, static_cast<int32_t>(setting.size), nullptr)) {
    if (setting.size == kTextFieldSize) TextInSystemCodePage(static_cast<char*>(buffer));
    return true;
  }
  NoteFailure(FailureKind::kMissingItem, setting.name, 0);
  return false;
}

bool Installer::ReadSettings(const SettingRead* reads, int count) {
  for (int i = 0; i < count; ++i) {
    if (!ReadSetting(reads[i].setting, reads[i].buffer)) return false;
  }
  return true;
}

void Installer::SetProgressIfOpen(float fraction) {
  if (progressWindow != nullptr) {
    progressWindow->SetProgress(fraction);
  } else {
    // Silent, the steps still answer the system between them.
    KeepWindowsAnswering();
  }
}

void Installer::KeepWindowsAnswering() {
  if (progressWindow != nullptr) {
    progressWindow->KeepAnswering();
    return;
  }
  // Without a window of its own the run still answers the system: a peek
  // takes the calls other threads send to the windows of this thread (the
  // hidden window, unless a silent run made it on a thread of its own; an
  // engine's). A peek is a round trip to Wine's server, two a file were a
  // fifth of what a silent run added to writing thousands of small files;
  // the system waits seconds for an answer, so one every few milliseconds
  // answers as well.
  DWORD now = GetTickCount();
  if (now - lastPeek < kPeekEveryMs) return;
  lastPeek = now;
  MSG message;
  PeekMessageA(&message, parentWindow, 0, 0, PM_NOREMOVE);
}

bool Installer::Record(payload::PointerList& list, const char* path, bool isNew) {
  logfile::Line(isNew ? "Created" : "Replaced", path);
  return PushCopy(list, path);
}

// A file the installation made but cannot remember would be left behind by
// the clean-up or the uninstaller without a word: the installation stops,
// and a new one goes at once, as nothing would take it away later.
bool Installer::RecordFile(const char* path, bool isNew) {
  if (Record(createdFiles, path, isNew) && (!isNew || NoteNew(path))) return true;
  if (isNew) DeleteFileA(path);
  NoteFailure(FailureKind::kNoMemory, path, ERROR_NOT_ENOUGH_MEMORY);
  return false;
}

}  // namespace installer
