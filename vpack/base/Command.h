#pragma once
// One vpack command as main sees it. Each command is a room of its own that
// adds itself to the command line with its options and help text, checks
// its options together once they are parsed, and runs; main only picks the
// one given. A new command is a new room and one line in main.
#include <CLI/CLI.hpp>

#include <string>

namespace vpack {

class Command {
 public:
  // Adds the command `name` to app; usage is its part of the usage text
  // main prints after a wrong command line, without "vpack ".
  Command(CLI::App& app, const char* name, const char* help, const char* usage)
      : line_(app.add_subcommand(name, help)), usage_(usage) {}
  virtual ~Command() = default;
  Command(const Command&) = delete;
  Command& operator=(const Command&) = delete;

  const std::string& Name() const { return line_->get_name(); }
  const char* Usage() const { return usage_; }
  bool Given() const { return line_->parsed(); }

  // Once parsed: throws CLI::ParseError (exit status 2 and the usage) when
  // options that parsed one by one do not go together.
  virtual void CheckOptions() {}
  // The exit status, 0 done or 1 failed; throws Error for main to report
  // as one line.
  virtual int Run() = 0;

 protected:
  CLI::App* line_;

 private:
  const char* usage_;
};

}  // namespace vpack
