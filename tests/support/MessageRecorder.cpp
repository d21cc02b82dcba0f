#include "tests/support/MessageRecorder.h"

#include "platform/Message.h"
#include "tests/support/MessageTypes.h"

namespace testing_support {

MessageRecorder::MessageRecorder() { message::SetHook(&MessageRecorder::Record, this); }

MessageRecorder::~MessageRecorder() { message::SetHook(nullptr, nullptr); }

void MessageRecorder::ScriptAnswers(std::vector<int> answers) { answers_.assign(answers.begin(), answers.end()); }

std::vector<std::string> MessageRecorder::Texts() const {
  std::vector<std::string> texts;
  for (const RecordedMessage& m : messages_) texts.push_back(m.text);
  return texts;
}

int MessageRecorder::Record(void* context, const char* text, const char* caption, uint32_t type) {
  MessageRecorder* self = static_cast<MessageRecorder*>(context);
  self->messages_.push_back(RecordedMessage{text ? text : "", caption ? caption : "", type});
  CheckMessageType(self->messages_.back().text, self->messages_.back().caption, type);
  if (!self->answers_.empty()) {
    int answer = self->answers_.front();
    self->answers_.pop_front();
    return answer;
  }
  return (type & 0xF) == message::kYesNo ? message::kAnswerYes : message::kAnswerOk;
}

}  // namespace testing_support
