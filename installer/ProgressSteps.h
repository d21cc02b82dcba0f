#pragma once
// Where an installation's progress bar stands at each step, in one table so
// that every flow's steps keep their order on the bar.
namespace installer {
namespace progress {

constexpr float kOpened = 0.0f;
// The standalone flow: engine files, Start-menu entries, engine started.
constexpr float kEngineFiles = 0.05f;
constexpr float kStartMenu = 0.25f;
constexpr float kEngineStarted = 0.3f;
// The screen saver and the plug-in, engine started at kEngineFiles: their
// program copied into place.
constexpr float kProgramCopied = 0.1f;
// The lists: the channels move no bar, the channel modules and the project
// files each move it by kListShare from their base.
constexpr double kChannels = 0.0;
constexpr double kChannelModules = 0.3;
constexpr double kProjectFiles = 0.6;
constexpr double kListShare = 0.3;
// Records written, engine released.
constexpr float kRecordsDone = 0.95f;

}  // namespace progress
}  // namespace installer
