#pragma once
// Replaces the stub's message boxes by a recorder for in-process tests.
#include <stdint.h>

#include <deque>
#include <string>
#include <vector>

#include "platform/Message.h"

namespace testing_support {

struct RecordedMessage {
  std::string text;
  std::string caption;
  uint32_t type;
};

// A wide text of the stub's (a box, a caption, a noted name) in UTF-8.
std::string Utf8(const wchar_t* wide);

class MessageRecorder {
 public:
  MessageRecorder();
  ~MessageRecorder();
  MessageRecorder(const MessageRecorder&) = delete;
  MessageRecorder& operator=(const MessageRecorder&) = delete;

  // Answers given in order; when none are left, a box answers OK (or Yes).
  void ScriptAnswers(std::vector<int> answers);
  const std::vector<RecordedMessage>& Messages() const { return messages_; }
  void Clear() { messages_.clear(); }
  std::vector<std::string> Texts() const;

 private:
  static int Record(void* context, const message::Box& box);

  std::vector<RecordedMessage> messages_;
  std::deque<int> answers_;
};

}  // namespace testing_support
