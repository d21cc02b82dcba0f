#pragma once
// The windows of a process and of every process it started: the installer
// starts the viewer, whose windows belong to the demo as much as its own.
#include <windows.h>

#include <set>
#include <vector>

namespace demo {

class WindowWatch {
 public:
  explicit WindowWatch(DWORD rootProcessId) : root_(rootProcessId) {}

  // A visible top-level window of the process tree not returned before, or
  // null when there is none now.
  HWND NextNewWindow();
  // Ends every process the root started, the root excepted, so that a
  // demo that timed out leaves no viewer behind in the prefix.
  void EndDescendants() const;

 private:
  std::vector<DWORD> ProcessTree() const;

  DWORD root_;
  std::set<HWND> seen_;
};

}  // namespace demo
