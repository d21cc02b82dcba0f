// The one home of a flow's failure reports: each step notes why it failed
// where it failed, and the flow reports it here once.
#include "installer/Installer.h"
#include "platform/FolderMessage.h"
#include "platform/Message.h"
#include "platform/Text.h"

namespace installer {

void Installer::NoteFailure(FailureKind what, const char* name, DWORD error) {
  failure.what = what;
  text::CopyAtMost(failure.name, name != nullptr ? name : "", sizeof(failure.name) - 1);
  failure.error = error;
}

bool Installer::Stop(const char* text, const char* caption, uint32_t type) {
  NoteFailure(FailureKind::kStopped, caption, 0);
  failure.text = text;
  failure.type = type;
  ReportFailure();
  return false;
}

void Installer::NoteReadFailure(const char* name, const char* file) {
  if (reader != nullptr && reader->ReadError() != 0) {
    NoteFailure(FailureKind::kRead, name, reader->ReadError());
  } else if (reader != nullptr && reader->NoMemory()) {
    NoteFailure(FailureKind::kNoMemory, name, 0);
  } else {
    // Damage was shown by its own message as it was read; the copy message
    // then names the system's word for it rather than locked files.
    NoteFailure(FailureKind::kCopy, file, reader != nullptr && reader->CrcMismatch() != nullptr ? ERROR_CRC : 0);
  }
}

void Installer::ReportFailure() {
  wchar_t name[kWorkFolderSize];
  if (MultiByteToWideChar(CP_ACP, 0, failure.name, -1, name, kWorkFolderSize) == 0) name[0] = 0;
  const wchar_t* named = name[0] != 0 ? name : nullptr;
  // The system's error in decimal, which two of the reports show as such.
  char number[16];
  number[0] = '\0';
  text::AppendDecimal(number, sizeof(number), failure.error);
  reportedOnTheWay = reportedOnTheWay || (failure.what != FailureKind::kNone && failure.what != FailureKind::kReported);
  switch (failure.what) {
    case FailureKind::kRead:
      message::ReportSystemError("The installer could not be read.", failure.error);
      break;
    case FailureKind::kNoMemory:
      message::Show("Not enough memory to go on.", failure.name, message::kOk | message::kIconError);
      break;
    case FailureKind::kRecord:
      message::ReportError("The installation cannot be uninstalled: this file could not be written.", named,
                           failure.error, L"Installation Error");
      break;
    case FailureKind::kMissingItem:
      message::ReportMissingItem(failure.name);
      break;
    case FailureKind::kEngine:
      message::ReportSystemError("The engine, Tessaron.dll, could not be started.", failure.error);
      break;
    case FailureKind::kSaverCopy:
      // Two boxes, both captioned with the target: the number, then what.
      message::Show(number, failure.name, message::kOk);
      message::Show("Unable to copy screensaver to system directory", failure.name, message::kOk);
      break;
    case FailureKind::kPluginCopy:
      message::ReportSystemError("Unable to copy the plug-in into WinAmp.", failure.error);
      break;
    case FailureKind::kRegistry:
      message::Show("Error can't write in registry", failure.name, message::kOk);
      break;
    case FailureKind::kViewer:
      message::Show("Unable to start vandrelviewer.exe", number, message::kOk);
      break;
    case FailureKind::kNoOptions:
      message::ReportSystemError("The installation options could not be shown.", failure.error);
      break;
    case FailureKind::kStopped:
      message::Show(failure.text, failure.name, failure.type);
      break;
    case FailureKind::kReported:
      break;
    case FailureKind::kDecompress:
      message::Show("Error decompress", "Error", message::kOk);
      [[fallthrough]];
    default:
      // Without a reason the copy message stands as it always has; with
      // one, the file and the system's words follow it.
      if (failure.error == 0) {
        message::ReportCopyFailure();
      } else {
        message::ReportError(message::kCopyFailure, named, failure.error, L"Installation Error");
      }
      break;
  }
  failure.what = FailureKind::kNone;
}

}  // namespace installer
