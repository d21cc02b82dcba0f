#include "ui/Report.h"

#include "platform/Message.h"
#include "platform/Text.h"
#include "ui/TextTable.h"

namespace ui {
namespace {

constexpr int kTextChars = 1024;

// A message as it grows; what does not fit is left off, never overrun.
struct Composed {
  wchar_t text[kTextChars];
  int length;

  void Add(const wchar_t* more) {
    while (*more != 0 && length < kTextChars - 1) text[length++] = *more++;
    text[length] = 0;
  }
  void AddNumber(uint32_t value) {
    wchar_t digits[12];
    int at = 11;
    digits[at] = 0;
    do {
      digits[--at] = static_cast<wchar_t>('0' + value % 10);
      value /= 10;
    } while (value != 0);
    Add(digits + at);
  }
  // The text, its placeholders replaced by the numbers.
  void AddText(texts::Id id, const uint32_t* numbers, bool forLog) {
    wchar_t words[kTextChars];
    TextOf(id, words, kTextChars, forLog);
    for (const wchar_t* c = words; *c != 0 && length < kTextChars - 1; ++c) {
      if (c[0] == '%' && (c[1] == '1' || c[1] == '2')) {
        AddNumber(numbers[c[1] - '1']);
        ++c;
      } else {
        text[length++] = *c;
        text[length] = 0;
      }
    }
  }
  void AddReason(DWORD error) {
    if (error == 0) return;
    Add(L"\n\n");
    length += static_cast<int>(FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                              error, 0, text + length, kTextChars - length, nullptr));
    text[length] = 0;
  }
};

// The message's text and caption, as shown or as logged.
void Compose(const messages::Shape& shape, const Report& report, bool forLog, Composed& caption, Composed& out) {
  caption.length = 0;
  caption.text[0] = 0;
  if (shape.caption == texts::Id::kName) {
    caption.Add(report.name);
  } else if (shape.caption == texts::Id::kNumber) {
    caption.AddNumber(report.error);
  } else {
    caption.AddText(shape.caption, report.numbers, forLog);
  }
  out.length = 0;
  out.text[0] = 0;
  out.AddText(shape.text, report.numbers, forLog);
  bool named = report.name[0] != 0;
  switch (shape.form) {
    case messages::Form::kNameAfter:
      if (named) {
        out.Add(L" ");
        out.Add(report.name);
      }
      return;
    case messages::Form::kReason:
      out.AddReason(report.error);
      return;
    case messages::Form::kAboutWithReason:
      if (report.error == 0) return;
      [[fallthrough]];
    case messages::Form::kAbout:
      if (named) {
        out.Add(L"\n");
        out.Add(report.name);
      }
      out.AddReason(report.error);
      if (shape.advice != texts::Id::kNone) {
        out.Add(L"\n\n");
        out.AddText(shape.advice, report.numbers, forLog);
      }
      return;
    default:
      return;
  }
}

// The box in the installer's language; its line in the log in English,
// unless the publisher asked for the log as shown.
int ShowOne(messages::Id what, const Report& report) {
  const messages::Shape& shape = messages::ShapeOf(what);
  Composed caption, text, logCaption, logText;
  Compose(shape, report, false, caption, text);
  Compose(shape, report, true, logCaption, logText);
  if (shape.form == messages::Form::kNumberFirst) {
    Composed number;
    number.length = 0;
    number.AddNumber(report.error);
    message::ShowWide(number.text, caption.text, message::kOk, nullptr, logCaption.text);
  }
  return message::ShowWide(text.text, caption.text, shape.type, logText.text, logCaption.text);
}

}  // namespace

void NoteWide(Report& report, messages::Id what, const wchar_t* name, DWORD error) {
  report.what = what;
  int length = 0;
  for (; name != nullptr && name[length] != 0 && length < payload::kTargetPathSize - 1; ++length) {
    report.name[length] = name[length];
  }
  report.name[length] = 0;
  report.error = error;
  report.numbers[0] = report.numbers[1] = 0;
}

void Note(Report& report, messages::Id what, const char* name, DWORD error) {
  NoteWide(report, what, nullptr, error);
  if (name != nullptr && MultiByteToWideChar(CP_ACP, 0, name, -1, report.name, payload::kTargetPathSize) == 0) {
    report.name[0] = 0;
  }
}

int Tell(const Report& report) {
  if (report.what == messages::Id::kNone) return message::kAnswerOk;
  int answer = ShowOne(report.what, report);
  // A zlib item that did not inflate is then a file that could not be
  // copied.
  if (messages::ShapeOf(report.what).form == messages::Form::kThenCopy) {
    answer = ShowOne(messages::Id::kCopyFailure, report);
  }
  return answer;
}

int Tell(messages::Id what, const char* name) {
  Report report;
  Note(report, what, name, 0);
  return Tell(report);
}

}  // namespace ui
