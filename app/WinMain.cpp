#include <windows.h>

#include "app/CommandLine.h"
#include "app/InstallerApp.h"
#include "app/MainWindow.h"
#include "app/StartHook.h"
#include "installer/ExitCode.h"
#include "platform/DllSearch.h"
#include "platform/Log.h"
#include "platform/Message.h"
#include "platform/ScopedHandle.h"
#include "platform/WindowThread.h"
#include "ui/Report.h"

namespace {

// Silent, every message goes to the log alone, and every question is
// answered no: nothing is done that nobody agreed to.
int AnswerSilently(void*, const message::Box& box) {
  return (box.type & message::kYesNo) != 0 ? message::kAnswerNo : message::kAnswerOk;
}

int RunStub(HINSTANCE instance) {
  // Before any system call, so that the test variant's seam sees them all.
  app::StartHook(instance);
  // Before anything loads a DLL by name. The stub imports only libraries the
  // system always takes from its own folder; the common controls, which it
  // does not, are loaded later by full path.
  platform::RestrictDllSearch();
  app::CommandLine line;
  app::ReadCommandLine(GetCommandLineW(), &line);
  if (line.unattended.silent) {
    message::SetHook(&AnswerSilently, nullptr);
    // Nor the system's own boxes: an empty drive named in /D= or /LOG=
    // fails the call instead of waiting for someone to insert a disk.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  }
  // Silent, the hidden window is made beside the run, which needs it first
  // when the engine starts, and it answers the system at once throughout.
  bool windowAside = line.unattended.silent && platform::StartWindowThread(&app::MakeMainWindow, instance);
  platform::ScopedFile log;
  if (line.log[0] != 0) {
    log.Reset(CreateFileW(line.log, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                          nullptr));
    // Asked for and not there, it would leave the administrator nothing to
    // read: the installation does not start.
    if (!log.Valid()) {
      ui::Report report;
      ui::NoteWide(report, messages::Id::kNoLog, line.log, GetLastError());
      ui::Tell(report);
      return installer::kExitFailed;
    }
    logfile::Use(log.Get());
  }
  app::InstallerApp application;
  application.SetCommandLine(line);
  application.SetHost(instance, windowAside ? nullptr : app::MakeMainWindow(instance));
  application.Run();
  char code[] = "0";
  code[0] = static_cast<char>('0' + application.ExitCode());
  logfile::Line("Exit code", code);
  logfile::Use(nullptr);
  return static_cast<int>(application.ExitCode());
}

}  // namespace

// The process starts here, without the C runtime's start-up code: the stub
// splits its few switches itself, has no static constructors, and its two
// other threads (a silent run's window, the files opened ahead) call no
// runtime that needs it; that start-up would be about a sixth of its size.
// The C library functions it calls come from msvcrt.dll, which sets itself
// up when it is loaded.
extern "C" void WinMainCRTStartup() {
  int code = RunStub(GetModuleHandleA(nullptr));
  // A silent run that ends at once lets its window be made first: a thread
  // ended in the middle of starting the window system may hold a lock that
  // the end of the process needs.
  platform::WindowFromThread();
  ExitProcess(static_cast<UINT>(code));
}
