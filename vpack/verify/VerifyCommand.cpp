// vpack verify INSTALLER... [--json] [--code-page N]
#include <stdio.h>

#include <new>

#include <nlohmann/json.hpp>

#include "vpack/base/Error.h"
#include "vpack/read/CodePageOption.h"
#include "vpack/read/Verify.h"
#include "vpack/rules/Switches.h"
#include "vpack/verify/VerifyCommand.h"

namespace vpack {
namespace {

struct Verdict {
  std::string installer;
  InstallerFacts facts;
  std::vector<std::string> problems;
};

// An installer that cannot be read is one more problem, so that the others
// are still checked.
Verdict VerdictOn(const std::string& installer, unsigned codePage, bool showProgress) {
  Verdict verdict{installer, {}, {}};
  try {
    verdict.problems = InstallerProblems(installer, &verdict.facts, codePage, showProgress);
  } catch (const Error& e) {
    verdict.problems = {e.what()};
    verdict.facts.intact = false;
  } catch (const std::bad_alloc&) {
    verdict.problems = {"cannot be checked: it asks for more memory than there is"};
    verdict.facts.intact = false;
  } catch (const std::exception& e) {
    verdict.problems = {std::string("cannot be checked: ") + e.what()};
    verdict.facts.intact = false;
  }
  return verdict;
}

// Which switches the installer takes for an unattended installation.
std::string SwitchesText(const std::optional<FourPartVersion>& stubVersion) {
  if (!stubVersion) return "unknown (the installer does not record its stub's version)";
  std::string switches;
  for (const std::string& each : StubSwitches(*stubVersion)) switches += (switches.empty() ? "" : " ") + each;
  if (!switches.empty()) return switches;
  return "none (stub before " + std::to_string(kFirstVersionWithSwitches[0]) + "." +
         std::to_string(kFirstVersionWithSwitches[1]) + "." + std::to_string(kFirstVersionWithSwitches[2]) + ")";
}

void PrintText(const Verdict& v) {
  for (const std::string& problem : v.problems)
    fprintf(stderr, "vpack: %s: %s\n", v.installer.c_str(), problem.c_str());
  for (const std::string& warning : v.facts.warnings)
    fprintf(stderr, "vpack: %s: warning: %s\n", v.installer.c_str(), warning.c_str());
  if (!v.problems.empty()) return;
  std::string signature = v.facts.certificateBytes == 0 ? "not signed"
                                                        : "signed (Authenticode certificate table, " +
                                                              std::to_string(v.facts.certificateBytes) + " bytes)";
  printf("%s: %zu items, all intact, %s\n", v.installer.c_str(), v.facts.items, signature.c_str());
  printf("%s: switches: %s\n", v.installer.c_str(), SwitchesText(v.facts.stubVersion).c_str());
  printf("%s: code page: %u (text outside ASCII reads right only on Windows set to it)\n", v.installer.c_str(),
         v.facts.codePage);
  if (v.facts.languages.empty()) return;
  std::string languages;
  for (const std::string& tag : v.facts.languages) {
    languages += (languages.empty() ? "" : ", ") + tag + (tag == v.facts.defaultLanguage ? " (the default)" : "");
  }
  if (v.facts.defaultLanguage.empty()) languages += "; English where the user's is not carried";
  printf("%s: languages: %s\n", v.installer.c_str(), languages.c_str());
}

nlohmann::json Json(const Verdict& v) {
  return {{"installer", v.installer},
          {"intact", v.facts.intact},
          {"will-install", v.problems.empty()},
          {"items", v.facts.items},
          {"signed", v.facts.certificateBytes != 0},
          {"certificate-bytes", v.facts.certificateBytes},
          {"problems", v.problems},
          {"warnings", v.facts.warnings},
          {"stub-version", v.facts.stubVersion ? nlohmann::json(VersionText(*v.facts.stubVersion)) : nullptr},
          {"switches", v.facts.stubVersion ? nlohmann::json(StubSwitches(*v.facts.stubVersion)) : nullptr},
          {"code-page", v.facts.codePage},
          {"languages", v.facts.languages},
          {"default-language", v.facts.defaultLanguage.empty() ? std::string("en") : v.facts.defaultLanguage}};
}

}  // namespace

int Verify(const std::vector<std::string>& installers, bool json, unsigned codePage, bool quiet) {
  nlohmann::json all = nlohmann::json::array();
  bool failed = false;
  for (const std::string& installer : installers) {
    Verdict verdict = VerdictOn(installer, codePage, !quiet && !json);
    failed = failed || !verdict.problems.empty();
    if (json) {
      all.push_back(Json(verdict));
    } else {
      PrintText(verdict);
    }
  }
  if (json) printf("%s\n", all.dump(2, ' ', false, nlohmann::json::error_handler_t::replace).c_str());
  return failed ? 1 : 0;
}

namespace {

class VerifyLine : public Command {
 public:
  explicit VerifyLine(CLI::App& app)
      : Command(app, "verify", "Check that an installer will do its job; one line per problem",
                "verify INSTALLER... [--json] [--code-page N] [--quiet]") {
    line_->add_option("INSTALLER", installers_, "The installers to check")->required();
    line_->add_flag("--json", json_, "The results as JSON, for scripts");
    line_->add_flag("-q,--quiet", quiet_, "No progress bar, even on a terminal");
    AddCodePageOption(line_, codePage_);
  }

  int Run() override { return Verify(installers_, json_, codePage_, quiet_); }

 private:
  std::vector<std::string> installers_;
  bool json_ = false;
  bool quiet_ = false;
  unsigned codePage_ = kRecordedCodePage;
};

}  // namespace

std::unique_ptr<Command> VerifyCommand(CLI::App& app) { return std::make_unique<VerifyLine>(app); }

}  // namespace vpack
