// vpack list INSTALLER [--json] [--code-page N]
#include "vpack/list/ListCommand.h"

#include "vpack/base/CodePage.h"
#include "vpack/read/CodePageOption.h"

namespace vpack {
namespace {

class ListLine : public Command {
 public:
  explicit ListLine(CLI::App& app)
      : Command(app, "list", "Show an installer's items: store, size, list",
                "list INSTALLER [--json] [--code-page N]") {
    line_->add_option("INSTALLER", installer_, "The installer to read")->required();
    line_->add_flag("--json", json_, "The same as JSON, for scripts");
    AddCodePageOption(line_, codePage_);
  }

  int Run() override { return List(installer_, json_, codePage_); }

 private:
  std::string installer_;
  bool json_ = false;
  unsigned codePage_ = kRecordedCodePage;
};

}  // namespace

std::unique_ptr<Command> ListCommand(CLI::App& app) { return std::make_unique<ListLine>(app); }

}  // namespace vpack
