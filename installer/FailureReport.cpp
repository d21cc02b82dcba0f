// Steps note why they failed where they failed; the flow's caller reports it
// once, and a step that tells the user now and goes on tells through here.
#include "installer/Installer.h"
#include "platform/Text.h"

namespace installer {

void Installer::NoteFailure(FailureKind what, const char* name, DWORD error) { ui::Note(failure, what, name, error); }

void Installer::NoteFailureWide(FailureKind what, const wchar_t* name, DWORD error) {
  ui::NoteWide(failure, what, name, error);
}

bool Installer::Stop(FailureKind what) {
  NoteFailure(what, nullptr, 0);
  return false;
}

bool Installer::Told() { return Stop(FailureKind::kNone); }

void Installer::TellNow() {
  ReportFailure();
  reportedOnTheWay = true;
}

void Installer::TellUnusableFolder(const wchar_t* folder) {
  Failure told;
  ui::NoteWide(told, FailureKind::kOutsideCodePage, folder, GetLastError());
  ui::Tell(told);
}

void Installer::NoteReadFailure(const char* name, const char* file) {
  if (reader != nullptr && reader->ReadError() != 0) {
    NoteFailure(FailureKind::kUnreadable, name, reader->ReadError());
  } else if (reader != nullptr && reader->NoMemory()) {
    NoteFailure(FailureKind::kNoMemory, name, 0);
  } else {
    // Damage was shown by its own message as it was read; the copy message
    // then names the system's word for it rather than locked files.
    NoteFailure(FailureKind::kCopyFailure, file,
                reader != nullptr && reader->CrcMismatch() != nullptr ? ERROR_CRC : 0);
  }
}

void Installer::ReportFailure() {
  ui::Tell(failure);
  failure.what = FailureKind::kNone;
}

}  // namespace installer
