// The fault sweep: each flow, fresh and over an earlier installation, run
// once to count the stub's fallible system calls, then once per call with
// that call failing. Every run must end in a message that names the
// problem, or in a documented success; anything else is a fault.
//   fault_sweep [--flow NAME]... [--every K] [--arch x86_64|i686] [--timeout MS]
//   fault_sweep --kill [--arch x86_64|i686] [--timeout MS]   (KillSweep.h)
// NAME: run-in-place, standalone, screen-saver, plug-in (default: all).
// --every K sweeps calls 1, 1+K, 1+2K, ... (default 1: every call).
// Exits 1 when a fault shows that the list of known faults (KnownFaults.cpp) does not hold.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <map>
#include <string>
#include <vector>

#include "tests/faults/KillSweep.h"
#include "tests/faults/KnownFaults.h"
#include "tests/faults/SweepRun.h"
#include "tests/support/Installers.h"

using sweep::Flow;
using sweep::Outcome;

namespace {

struct Options {
  bool kill = false;
  std::vector<Flow> flows;
  int every = 1;
  testing_support::Arch arch = testing_support::Arch::kX64;
  DWORD timeoutMs = 30000;
};

bool Parse(int argc, char** argv, Options* options) {
  const std::map<std::string, Flow> names = {{"run-in-place", Flow::kRunInPlace},
                                             {"standalone", Flow::kStandalone},
                                             {"screen-saver", Flow::kScreenSaver},
                                             {"plug-in", Flow::kPlugin}};
  int first = 1;
  if (argc > 1 && std::string(argv[1]) == "--kill") {
    options->kill = true;
    first = 2;
  }
  for (int i = first; i + 1 < argc; i += 2) {
    std::string option = argv[i], value = argv[i + 1];
    if (option == "--flow" && names.count(value) != 0) {
      options->flows.push_back(names.at(value));
    } else if (option == "--every" && atoi(value.c_str()) > 0) {
      options->every = atoi(value.c_str());
    } else if (option == "--arch" && (value == "x86_64" || value == "i686")) {
      options->arch = value == "i686" ? testing_support::Arch::kI686 : testing_support::Arch::kX64;
    } else if (option == "--timeout" && atoi(value.c_str()) > 0) {
      options->timeoutMs = static_cast<DWORD>(atoi(value.c_str()));
    } else {
      return false;
    }
  }
  if ((argc - first) % 2 != 0) return false;
  if (options->flows.empty()) {
    options->flows = {Flow::kRunInPlace, Flow::kStandalone, Flow::kScreenSaver, Flow::kPlugin};
  }
  return true;
}

struct Tally {
  size_t calls = 0, swept = 0, known = 0;
  std::map<Outcome, int> outcomes;
};

struct Sweep {
  Options options;
  std::vector<std::string> rows, faults;
  int unexpected = 0;
};

// One installation of one flow: counted, then swept.
void SweepInstallation(Sweep& sweep, sweep::Scene& scene, bool over) {
  const char* installation = over ? "over" : "fresh";
  scene.Reset(over);
  sweep::RunResult counted = sweep::RunOnce(scene, over, 0, sweep.options.timeoutMs);
  sweep::Verdict baseline = sweep::Classify(scene.flow(), counted);
  Tally tally;
  tally.calls = counted.seam.calls.size();
  if (baseline.outcome != Outcome::kWhole) {
    printf("%s, %s: the run without a fault did not succeed whole: %s\n", FlowName(scene.flow()), installation,
           baseline.why.c_str());
    ++sweep.unexpected;
  }
  std::map<std::string, int> seen;
  std::vector<int> occurrence;
  for (const std::string& call : counted.seam.calls) occurrence.push_back(++seen[call]);
  for (size_t n = 1; n <= tally.calls; n += static_cast<size_t>(sweep.options.every)) {
    scene.Reset(over);
    sweep::RunResult run = sweep::RunOnce(scene, over, static_cast<int>(n), sweep.options.timeoutMs);
    sweep::Verdict verdict = sweep::Classify(scene.flow(), run);
    const std::string& call = counted.seam.calls[n - 1];
    std::string where = call + "#" + std::to_string(occurrence[n - 1]);
    ++tally.swept;
    ++tally.outcomes[verdict.outcome];
    printf("%-12s %-5s %4zu %-30s %-12s %s\n", FlowName(scene.flow()), installation, n, where.c_str(),
           OutcomeName(verdict.outcome), verdict.why.c_str());
    fflush(stdout);
    if (verdict.outcome != Outcome::kFault) continue;
    const sweep::Known* known = sweep::FindKnown(scene.flow(), installation, call, occurrence[n - 1]);
    if (known != nullptr) ++tally.known;
    if (known == nullptr) ++sweep.unexpected;
    sweep.faults.push_back(std::string(FlowName(scene.flow())) + ", " + installation + ", call " +
                           std::to_string(n) + " " + where + ": " + verdict.why +
                           (known != nullptr ? std::string(" [known: ") + known->reason + "]" : " [NEW]"));
  }
  char row[200];
  snprintf(row, sizeof row, "| %s | %s | %zu | %zu | %d | %d | %d | %d (%zu known) |", FlowName(scene.flow()),
           installation, tally.calls, tally.swept, tally.outcomes[Outcome::kMessage],
           tally.outcomes[Outcome::kDocumented], tally.outcomes[Outcome::kWhole], tally.outcomes[Outcome::kFault],
           tally.known);
  sweep.rows.push_back(row);
}

void SweepFlow(Sweep& sweep, Flow flow) {
  sweep::Scene scene(flow, sweep.options.arch, testing_support::FaultStubPath(sweep.options.arch));
  SweepInstallation(sweep, scene, false);
  // A run in place installs nothing that a later run could be over.
  if (flow == Flow::kRunInPlace) return;
  scene.Reset(false);
  // The earlier version, installed whole, is what each run over it finds.
  sweep::RunResult earlier = sweep::RunOnce(scene, false, 0, sweep.options.timeoutMs, 0, true);
  if (!earlier.success) {
    printf("%s: the earlier version did not install\n", FlowName(flow));
    ++sweep.unexpected;
    return;
  }
  scene.Remember();
  SweepInstallation(sweep, scene, true);
}

}  // namespace

int main(int argc, char** argv) {
  Sweep sweep;
  if (!Parse(argc, argv, &sweep.options)) {
    fprintf(stderr, "usage: fault_sweep [--kill | --flow NAME]... [--every K] [--arch x86_64|i686] [--timeout MS]\n");
    return 2;
  }
  if (sweep.options.kill) return sweep::KillSweep(sweep.options.arch, testing_support::FaultStubPath(sweep.options.arch), sweep.options.timeoutMs);
  std::string every = sweep.options.every == 1 ? "every call" : "every " + std::to_string(sweep.options.every) + "th call";
  printf("fault sweep of the %s stub's test variant, %s\n",
         sweep.options.arch == testing_support::Arch::kX64 ? "x86_64" : "i686", every.c_str());
  for (Flow flow : sweep.options.flows) SweepFlow(sweep, flow);
  printf("\n| Flow | Installation | Calls | Swept | 1 message | 2 documented | 2 whole | 3 fault |\n");
  printf("|---|---|---|---|---|---|---|---|\n");
  for (const std::string& row : sweep.rows) printf("%s\n", row.c_str());
  printf("\nOutcome 3:%s\n", sweep.faults.empty() ? " none" : "");
  for (const std::string& fault : sweep.faults) printf("- %s\n", fault.c_str());
  printf("\nDocumented successes:\n");
  for (const std::string& line : sweep::DocumentedSuccesses()) printf("- %s\n", line.c_str());
  return sweep.unexpected > 0 ? 1 : 0;
}
