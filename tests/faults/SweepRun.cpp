#include "tests/faults/SweepRun.h"

#include <algorithm>

#include "tests/support/Environment.h"
#include "tests/support/InstallerRun.h"
#include "tests/support/Logs.h"
#include "tests/support/StubDriver.h"

namespace sweep {

using testing_support::DialogSeen;
using testing_support::ScopedEnvironment;
using testing_support::StubDriver;

namespace {

constexpr char kSuccess[] = "Installation successfully completed!";
constexpr int kInstallButton = 1;
constexpr int kPathEdit = 1000;
constexpr int kBrowserTitle = 0x3742;

// A success that the flow's own rules give for a failed call, and what it
// may leave undone.
struct Documented {
  std::vector<Flow> flows;
  std::vector<std::string> calls;
  std::vector<Problem::Kind> allowed;
  // The message that reports the failure before the success, where one does.
  const char* message;
  const char* behaviour;
};

const Documented kDocumented[] = {
    {{Flow::kStandalone},
     {"CoCreateInstance", "IPersistFile::Save", "SHGetSpecialFolderLocation", "SHGetPathFromIDListW",
      "CreateDirectoryA", "CreateFileA", "WriteFile", "MoveFileExA", "malloc"},
     {Problem::kLink},
     nullptr,
     "a Start-menu link that cannot be made is not reported; the installation itself is whole"},
    {{Flow::kStandalone, Flow::kScreenSaver, Flow::kPlugin},
     {"RegCreateKeyExA"},
     {},
     "Error can't write in registry",
     "a registry key that cannot be created is reported and the installation goes on to its success, with exit code 1"},
    {{Flow::kStandalone, Flow::kScreenSaver, Flow::kPlugin},
     {"ReadFile", "SetFilePointerEx", "malloc", "realloc", "HeapAlloc"},
     {},
     "ProjectName",
     "the project name that cannot be read again for a registry entry is reported, that entry is not written, "
     "and the installation goes on to its success, with exit code 1"},
    {{Flow::kRunInPlace},
     {"DeleteFileA", "RemoveDirectoryA"},
     {Problem::kLeftover},
     nullptr,
     "a file or folder that cannot be removed after the viewer has ended stays, without a message"},
};

bool Contains(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// A message's text on one line, for the sweep's table.
std::string OneLine(std::string text) {
  for (size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', end)) {
    size_t from = end > 0 && text[end - 1] == '\r' ? end - 1 : end;
    text.replace(from, end + 1 - from, " / ");
  }
  return text;
}

// Answers what the stub shows until it ends: Install in the options dialog,
// No to a question, OK to any other message, Cancel in a folder browser.
// With a call to hold at, the stub is killed once it waits there.
void Drive(StubDriver& driver, RunResult* run, DWORD timeoutMs, const std::string& heldLog) {
  DWORD start = GetTickCount();
  for (;;) {
    if (!heldLog.empty() && ReadSeamLog(heldLog).held) {
      driver.Kill();
      run->killed = true;
      return;
    }
    DialogSeen seen = driver.WaitForDialog(200);
    if (seen.window != nullptr) {
      if (StubDriver::IsMessageBox(seen.window)) {
        run->boxes.push_back(OneLine(seen.caption + ": " + seen.text));
        if (seen.text.compare(0, sizeof kSuccess - 1, kSuccess) == 0) run->success = true;
        driver.Press(seen.window, (seen.type & 0xF) == MB_YESNO ? IDNO : IDOK);
      } else if (GetDlgItem(seen.window, kPathEdit) != nullptr) {
        driver.Press(seen.window, kInstallButton);
      } else if (GetDlgItem(seen.window, kBrowserTitle) != nullptr) {
        driver.PressUntilGone(seen.window, IDCANCEL, 10000);
      }
      continue;
    }
    if (!driver.Running()) return;
    if (GetTickCount() - start > timeoutMs) {
      run->timedOut = true;
      driver.Kill();
      return;
    }
  }
}

}  // namespace

RunResult RunOnce(const Scene& scene, bool over, int failAt, DWORD timeoutMs, int holdAt, bool earlierVersion) {
  std::string temp = scene.Root() + "\\temp";
  std::string seamLog = scene.Root() + "\\seam.log";
  DeleteFileA(seamLog.c_str());
  std::string failText = std::to_string(failAt), holdText = std::to_string(holdAt);
  ScopedEnvironment tmp("TMP", temp.c_str()), tempVariable("TEMP", temp.c_str()),
      engine("VDL_ENGINE_LOG", scene.CallLog().c_str()), viewer("VDL_VIEWER_LOG", scene.CallLog().c_str()),
      uninstaller("VDL_UNINSTALL_LOG", scene.CallLog().c_str()), log("VDL_FAULT_LOG", seamLog.c_str()),
      fail("VDL_FAULT_AT", failText.c_str()), hold("VDL_FAULT_HOLD", holdText.c_str());
  RunResult run;
  StubDriver driver;
  if (!driver.Start(scene.Installer(earlierVersion))) {
    run.exitCode = static_cast<DWORD>(-1);
    return run;
  }
  Drive(driver, &run, timeoutMs, holdAt > 0 ? seamLog : std::string());
  driver.WaitForExit(5000);
  run.exitCode = driver.ExitCode();
  run.seam = ReadSeamLog(seamLog);
  if (scene.flow() == Flow::kRunInPlace) run.success = testing_support::HasLine(scene.CallLog(), "Viewer start");
  // A killed run can take nothing back; one that ended can.
  run.problems = scene.Check(run.success, over, !run.killed);
  return run;
}

const char* OutcomeName(Outcome outcome) {
  switch (outcome) {
    case Outcome::kMessage: return "1 message";
    case Outcome::kDocumented: return "2 documented";
    case Outcome::kWhole: return "2 whole";
    case Outcome::kFault: return "3 FAULT";
  }
  return "?";
}

namespace {

std::string Describe(const std::vector<Problem>& problems) {
  std::string text;
  for (const Problem& problem : problems) text += std::string(text.empty() ? "" : "; ") + KindName(problem.kind) + " " + problem.path;
  return text;
}

// The documented success this failed call may end in, if any.
bool Applies(const Documented& rule, Flow flow, const std::string& call) {
  return std::find(rule.flows.begin(), rule.flows.end(), flow) != rule.flows.end() && Contains(rule.calls, call);
}

// Whether the run is the documented success: only what the rule allows is
// missing, and every message besides the success is the rule's.
bool Allowed(const Documented& rule, const RunResult& run) {
  for (const Problem& problem : run.problems) {
    if (std::find(rule.allowed.begin(), rule.allowed.end(), problem.kind) == rule.allowed.end()) return false;
  }
  for (const std::string& box : run.boxes) {
    bool success = box.find(kSuccess) != std::string::npos;
    if (!success && (rule.message == nullptr || box.find(rule.message) == std::string::npos)) return false;
  }
  return true;
}

}  // namespace

Verdict Classify(Flow flow, const RunResult& run) {
  if (run.timedOut) return {Outcome::kFault, "hang: still running at the time-out"};
  char code[16];
  snprintf(code, sizeof code, "%08lX", static_cast<unsigned long>(run.exitCode));
  if (run.exitCode > 3 || !run.seam.exited) return {Outcome::kFault, std::string("crash: exit code ") + code};
  // A script reads the outcome from the exit code alone: 0 for a success
  // that told of no failure on the way, 1 for one that did.
  bool told = std::any_of(run.boxes.begin(), run.boxes.end(), testing_support::ToldOnTheWay);
  bool codeFits = run.success ? run.exitCode == (told ? 1u : 0u) : run.exitCode != 0;
  if (!codeFits) {
    return {Outcome::kFault, std::string(run.success ? "success" : "failure") + " with exit code " + code};
  }
  for (const Problem& problem : run.problems) {
    if (problem.kind == Problem::kDamaged || problem.kind == Problem::kMadeAndLeft) {
      return {Outcome::kFault, Describe(run.problems)};
    }
  }
  // Besides the success message, in the installing flows.
  size_t others = run.boxes.size() - (run.success && flow != Flow::kRunInPlace ? 1 : 0);
  if (!run.success) {
    if (others == 0) return {Outcome::kFault, "silent exit: no message, no success"};
    return {Outcome::kMessage, run.boxes.front()};
  }
  if (run.problems.empty() && others == 0) return {Outcome::kWhole, ""};
  // A call such as malloc serves several steps: any rule for it may hold.
  for (const Documented& rule : kDocumented) {
    if (Applies(rule, flow, run.seam.failed) && Allowed(rule, run)) return {Outcome::kDocumented, rule.behaviour};
  }
  if (!run.problems.empty()) return {Outcome::kFault, "success shown, but " + Describe(run.problems)};
  return {Outcome::kFault, "success shown after a failure message: " + run.boxes.front()};
}

std::vector<std::string> DocumentedSuccesses() {
  std::vector<std::string> lines;
  for (const Documented& rule : kDocumented) {
    std::string line;
    for (Flow flow : rule.flows) line += std::string(line.empty() ? "" : ", ") + FlowName(flow);
    line += " | ";
    for (size_t i = 0; i < rule.calls.size(); ++i) line += (i > 0 ? ", " : "") + rule.calls[i];
    lines.push_back(line + " | documented behaviour: " + rule.behaviour);
  }
  return lines;
}

}  // namespace sweep
