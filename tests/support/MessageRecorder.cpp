#include "tests/support/MessageRecorder.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include "tests/support/MessageTypes.h"

namespace testing_support {

std::string Utf8(const wchar_t* wide) {
#ifdef _WIN32
  if (wide != nullptr) {
    int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(size > 0 ? static_cast<size_t>(size) : 1, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, &utf8[0], size, nullptr, nullptr);
    utf8.resize(utf8.size() - 1);
    return utf8;
  }
#else
  (void)wide;
#endif
  return "";
}

namespace {

// The box's words as the tests compare them: UTF-8 for a wide box.
std::string Words(const char* narrow, const wchar_t* wide) { return narrow != nullptr ? narrow : Utf8(wide); }

}  // namespace

MessageRecorder::MessageRecorder() { message::SetHook(&MessageRecorder::Record, this); }

MessageRecorder::~MessageRecorder() { message::SetHook(nullptr, nullptr); }

void MessageRecorder::ScriptAnswers(std::vector<int> answers) { answers_.assign(answers.begin(), answers.end()); }

std::vector<std::string> MessageRecorder::Texts() const {
  std::vector<std::string> texts;
  for (const RecordedMessage& m : messages_) texts.push_back(m.text);
  return texts;
}

int MessageRecorder::Record(void* context, const message::Box& box) {
  MessageRecorder* self = static_cast<MessageRecorder*>(context);
  uint32_t type = box.type;
  self->messages_.push_back(RecordedMessage{Words(box.text, box.wideText), Words(box.caption, box.wideCaption), type});
  CheckMessageType(self->messages_.back().text, self->messages_.back().caption, type);
  if (!self->answers_.empty()) {
    int answer = self->answers_.front();
    self->answers_.pop_front();
    return answer;
  }
  return (type & 0xF) == message::kYesNo ? message::kAnswerYes : message::kAnswerOk;
}

}  // namespace testing_support
