#pragma once
// Why a step of a flow failed: noted where it failed, while the system's
// reason is still known, and carried up with the step's false result to the
// one place that reports it (Installer::ReportFailure).
#include <stdint.h>
#include <windows.h>

#include "payload/PayloadFormat.h"

namespace installer {

enum class FailureKind : uint8_t {
  kNone,
  // A file of the installation could not be written (or its item is missing
  // or damaged): the copy message, with the file and the reason.
  kCopy,
  // The installer's own file could not be read.
  kRead,
  kNoMemory,
  // A record file the uninstaller needs could not be written.
  kRecord,
  // A payload setting that is not there: "Can't find project type NAME".
  kMissingItem,
  // The engine could not be loaded or did not start.
  kEngine,
  // The screen saver or the plug-in could not be put in its place: the
  // flow's own words, with the target and the reason.
  kSaverCopy,
  kPluginCopy,
  // A registry key that cannot be written: told, and the installation goes
  // on, as it always has.
  kRegistry,
  // The viewer could not be started; the error is its caption.
  kViewer,
  // A zlib item that does not inflate: its own box, then the copy message.
  kDecompress,
  // The options dialog could not be made.
  kNoOptions,
  // A step that stops the flow with a fixed text; name is the caption.
  kStopped,
  // Already reported where it happened; nothing more to say.
  kReported,
};

struct Failure {
  FailureKind what;
  // The file or item; empty when none is known.
  char name[payload::kTargetPathSize];
  // The system's error code; 0 when there is none.
  DWORD error;
  // kStopped: the text and the message box's type.
  const char* text;
  uint32_t type;
};

}  // namespace installer
