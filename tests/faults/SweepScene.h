#pragma once
// The scene of one flow's sweep: the installers of an earlier and a newer
// version of one project, the folders and system entries they install to,
// and what must be there after a run.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/support/Projects.h"
#include "tests/support/TempDir.h"

namespace sweep {

enum class Flow { kRunInPlace, kStandalone, kScreenSaver, kPlugin };
const char* FlowName(Flow flow);

// What a run left that a user would not want: a file missing or wrong after
// success or left out of its uninstall record, a link missing, something left in a run-in-place folder, or a
// file of the earlier installation that is neither version any more.
struct Problem {
  enum Kind { kMissing, kWrong, kLink, kLeftover, kDamaged, kUnrecorded, kMadeAndLeft } kind;
  std::string path;
};
const char* KindName(Problem::Kind kind);

class Scene {
 public:
  Scene(Flow flow, testing_support::Arch arch, const std::string& stub);
  ~Scene();
  Scene(const Scene&) = delete;
  Scene& operator=(const Scene&) = delete;

  Flow flow() const { return flow_; }
  // The installer of the newer version, or of the earlier one.
  std::string Installer(bool earlier = false) const { return root_.File(earlier ? "earlier.exe" : "setup.exe"); }
  std::string Root() const { return root_.Path(); }
  std::string Install() const { return install_; }
  // The file that both stand-ins write their lines to.
  std::string CallLog() const { return root_.File("calls.log"); }

  // Clears what a run left; over: puts the earlier installation back as it
  // was after its own run (Remember).
  void Reset(bool over);
  // Takes what the earlier version installed as the state to go back to.
  void Remember();
  // What is wrong after a run: with success, everything of the newer
  // version must be in place; over an earlier installation, each of its
  // files must be whole, of either version; after a failure, nothing the
  // run made may be left (no file or folder that was not there before it).
  std::vector<Problem> Check(bool success, bool over, bool ended = true) const;
  // Files in the installation folder that are none of the installation's.
  std::vector<std::string> Beside() const;
  // The installation's files that its uninstall record does not name.
  std::vector<std::string> Unrecorded() const;

 private:
  void CheckInstalled(std::vector<Problem>* problems) const;
  void CheckRunInPlace(bool success, std::vector<Problem>* problems) const;
  void CheckEarlier(std::vector<Problem>* problems) const;
  bool IsRecord(const std::string& path) const;
  bool IsEntryList(const std::string& path) const;
  void DeleteKeys() const;
  // Every file and folder a run of the flow may make: the installation's
  // tree, the Start menu's folder, the saver and the plug-in.
  std::set<std::string> Present() const;

  Flow flow_;
  testing_support::TempDir root_;
  // scr_ where this program finds it; scrNamed_ as the stub names it (a
  // 32-bit stub's system32 is redirected).
  std::string install_, menu_, player_, project_, scr_, scrNamed_, plugin_;
  // The newer version's files by path, and the earlier installation's.
  std::map<std::string, std::string> expected_, earlier_;
  std::vector<std::string> records_, links_;
  // What was there when the run started.
  std::set<std::string> before_;
};

}  // namespace sweep
