#pragma once
// Environment variables through which tests make the stand-in engine fail:
//   VDL_ENGINE_FAIL    "control", "initialise" (comma separated)
//   VDL_ENGINE_REFUSE  "loader", "saver" (comma separated)
//   VDL_ENGINE_LOG     file that receives the call log
//   VDL_ENGINE_SLOW    milliseconds to wait after each decoded file
//   VDL_ENGINE_WINDOW  non-empty: a window of the engine's own with a timer
//   VDL_ENGINE_PEEK    file whose size is logged at each decode, opened for
//                      reading as an engine loading a channel module would
// They are read at each call, so a test can change them between calls.
#include <string>

namespace standin {

// The variable's value; empty when unset.
std::string EngineVariable(const char* name);
// True when the variable's comma-separated list holds the word (spaces
// around items ignored).
bool EngineSwitchSet(const char* name, const char* word);

}  // namespace standin
