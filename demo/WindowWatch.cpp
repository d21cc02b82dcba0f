#include "demo/WindowWatch.h"

#include <tlhelp32.h>

#include <algorithm>
#include <utility>

namespace demo {
namespace {

struct Candidates {
  const std::vector<DWORD>* processes;
  const std::set<HWND>* seen;
  HWND found = nullptr;
};

bool HasArea(HWND window) {
  RECT r = {};
  return GetWindowRect(window, &r) && r.right > r.left && r.bottom > r.top;
}

BOOL CALLBACK TakeFirstNew(HWND window, LPARAM lParam) {
  Candidates* c = reinterpret_cast<Candidates*>(lParam);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  bool ours = std::find(c->processes->begin(), c->processes->end(), owner) != c->processes->end();
  if (!ours || c->seen->count(window) != 0 || !IsWindowVisible(window) || !HasArea(window)) return TRUE;
  c->found = window;
  return FALSE;
}

std::vector<std::pair<DWORD, DWORD>> ProcessesWithParents() {
  std::vector<std::pair<DWORD, DWORD>> all;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return all;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    all.emplace_back(entry.th32ProcessID, entry.th32ParentProcessID);
  }
  CloseHandle(snapshot);
  return all;
}

}  // namespace

std::vector<DWORD> WindowWatch::ProcessTree() const {
  std::vector<std::pair<DWORD, DWORD>> all = ProcessesWithParents();
  std::vector<DWORD> tree{root_};
  // Grandchildren too: the viewer may hand over to a process of its own.
  for (size_t i = 0; i < tree.size(); ++i) {
    for (const auto& [process, parent] : all) {
      if (parent == tree[i] && std::find(tree.begin(), tree.end(), process) == tree.end()) tree.push_back(process);
    }
  }
  return tree;
}

HWND WindowWatch::NextNewWindow() {
  std::vector<DWORD> tree = ProcessTree();
  Candidates candidates{&tree, &seen_};
  EnumWindows(TakeFirstNew, reinterpret_cast<LPARAM>(&candidates));
  if (candidates.found != nullptr) seen_.insert(candidates.found);
  return candidates.found;
}

void WindowWatch::EndDescendants() const {
  std::vector<DWORD> tree = ProcessTree();
  for (size_t i = 1; i < tree.size(); ++i) {
    HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, tree[i]);
    if (process == nullptr) continue;
    TerminateProcess(process, 1);
    CloseHandle(process);
  }
}

}  // namespace demo
