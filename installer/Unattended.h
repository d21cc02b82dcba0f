#pragma once
// What an administrator's command line asks of a run, read once and handed
// to the flow as one value.
namespace installer {

struct Unattended {
  // No dialog, no progress window, questions answered no.
  bool silent;
  // The folder given ("/D="), as typed; null when none.
  const wchar_t* folder;
};

}  // namespace installer
