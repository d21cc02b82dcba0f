// vpack extract INSTALLER -o FOLDER [--stored] [--code-page N] [--quiet]
#include "vpack/extract/ExtractCommand.h"

#include "vpack/read/CodePageOption.h"

namespace vpack {
namespace {

class ExtractLine : public Command {
 public:
  explicit ExtractLine(CLI::App& app)
      : Command(app, "extract", "Write an installer's items out as the installation would",
                "extract INSTALLER -o FOLDER [--stored] [--code-page N] [--quiet]") {
    line_->add_option("INSTALLER", installer_, "The installer to read")->required();
    line_->add_option("-o,--output", folder_, "The folder to write into")->required();
    line_->add_flag("--stored", stored_, "Write the files the engine decodes as stored, in its format");
    line_->add_flag("-q,--quiet", quiet_, "No progress bar, even on a terminal");
    AddCodePageOption(line_, codePage_);
  }

  int Run() override { return Extract(installer_, folder_, stored_, codePage_, quiet_); }

 private:
  std::string installer_;
  std::string folder_;
  bool stored_ = false;
  bool quiet_ = false;
  unsigned codePage_ = kRecordedCodePage;
};

}  // namespace

std::unique_ptr<Command> ExtractCommand(CLI::App& app) { return std::make_unique<ExtractLine>(app); }

}  // namespace vpack
