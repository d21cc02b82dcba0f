#pragma once
// The installer's one reporter. Steps note what failed (which message, the
// file or folder, the system's reason) and return false; the report is shown
// here once, from the table of messages, in the user's language where the
// installer carries one. Questions and success messages come from here too,
// so that every box's words have one home.
#include <stdint.h>
#include <windows.h>

#include "payload/Messages.h"
#include "payload/PayloadFormat.h"

namespace ui {

struct Report {
  messages::Id what;
  // The file, folder, item or caption the message is about, as the system
  // names it: a user's name outside the code page may be part of it.
  wchar_t name[payload::kTargetPathSize];
  // The system's error code; 0 when there is none.
  DWORD error;
  // The numbers the text's placeholders stand for.
  uint32_t numbers[2];
};

// Notes a failure in report; a name in the system's code page, or none.
void Note(Report& report, messages::Id what, const char* name, DWORD error);
// The same for a name the system gave in UTF-16.
void NoteWide(Report& report, messages::Id what, const wchar_t* name, DWORD error);

// Shows the report (nothing for messages::Id::kNone); the answer of the last
// box.
int Tell(const Report& report);
// Shows one message about name (a project name, the dialog's caption; none
// for null); the answer: a question's Yes or No.
int Tell(messages::Id what, const char* name);

}  // namespace ui
