// A platform for tests: records every message and answers questions from a
// script (or with the question's default button once the script is used up).
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "common/platform_services.h"

namespace qp::testing {

class ScriptedPlatform : public PlatformServices {
 public:
  void ShowMessage(const std::string& text, Icon icon = Icon::None) override;
  Answer Ask(const std::string& text, Buttons buttons, Answer defaultAnswer, Icon icon = Icon::Question) override;
  void Beep() override { ++beeps; }
  std::time_t CurrentTime() override { return now; }
  bool Launch(const std::string& program, const std::vector<std::string>& arguments,
              const std::string& workingDirectory) override;

  // Queues answers for the next questions.
  ScriptedPlatform& Answering(std::initializer_list<Answer> answers);

  // Messages and questions in UTF-8, for readable assertions.
  std::vector<std::string> MessagesUtf8() const;
  std::vector<std::string> QuestionsUtf8() const;
  std::string LastMessageUtf8() const;

  std::vector<std::string> messages;   // GBK, as shown
  std::vector<std::string> questions;  // GBK, as asked
  std::vector<Answer> questionDefaults;
  std::vector<Buttons> questionButtons;
  std::deque<Answer> answers;
  std::vector<std::string> launched;   // program and arguments joined by blanks
  int beeps = 0;
  std::time_t now = 1767225600;  // 2026-01-01 00:00:00 UTC
};

}  // namespace qp::testing
