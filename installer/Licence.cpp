// The licence the publisher has users accept before anything is asked or
// written: in the language the installer speaks where the payload has it
// in that one, else the one for every language.
#include "installer/Installer.h"
#include "installer/Translations.h"
#include "payload/Licence.h"
#include "ui/LicenceDialog.h"

namespace installer {

bool Installer::AcceptLicence() {
  // Silent, the administrator's command line takes acceptance as given.
  if (unattended.silent) return true;
  const payload::PayloadEntry* entry = Item(ChosenLanguage(), payload::kTypeLicence);
  if (entry == nullptr) entry = Item(payload::kLicenceForAll, payload::kTypeLicence);
  if (entry == nullptr) return true;
  // A licence that cannot be shown is never taken as accepted.
  if (entry->size > payload::kMaxLicenceBytes || !ReadFound(entry, nullptr, 0)) {
    return Stop(FailureKind::kUnreadable);
  }
  // UTF-16 that ends with its terminator, shown as it is stored.
  const wchar_t* text = reinterpret_cast<const wchar_t*>(itemData);
  if (itemSize < 2 || itemSize % 2 != 0 || text[itemSize / 2 - 1] != 0) return Stop(FailureKind::kUnreadable);
  DWORD error = 0;
  ui::LicenceAnswer answer = ui::ShowLicence(instance, parentWindow, text, &error);
  ReleaseItemMemory();
  if (answer == ui::LicenceAnswer::kAccepted) return true;
  if (answer == ui::LicenceAnswer::kNotShown) {
    NoteFailure(FailureKind::kNoOptions, nullptr, error);
    return false;
  }
  exitCode = kExitCancelled;
  return Told();
}

}  // namespace installer
