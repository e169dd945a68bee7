#include "support/scripted_platform.h"

#include "common/gbk_text.h"

namespace qp::testing {

void ScriptedPlatform::ShowMessage(const std::string& text, Icon) { messages.push_back(text); }

Answer ScriptedPlatform::Ask(const std::string& text, Buttons buttons, Answer defaultAnswer, Icon) {
  questions.push_back(text);
  questionButtons.push_back(buttons);
  questionDefaults.push_back(defaultAnswer);
  if (answers.empty()) return defaultAnswer;
  Answer a = answers.front();
  answers.pop_front();
  return a;
}

bool ScriptedPlatform::Launch(const std::string& program, const std::vector<std::string>& arguments,
                              const std::string&) {
  std::string line = program;
  for (const auto& a : arguments) line += " " + a;
  launched.push_back(line);
  return true;
}

ScriptedPlatform& ScriptedPlatform::Answering(std::initializer_list<Answer> list) {
  answers.insert(answers.end(), list);
  return *this;
}

std::vector<std::string> ScriptedPlatform::MessagesUtf8() const {
  std::vector<std::string> out;
  for (const auto& m : messages) out.push_back(GbkToUtf8(m));
  return out;
}

std::vector<std::string> ScriptedPlatform::QuestionsUtf8() const {
  std::vector<std::string> out;
  for (const auto& q : questions) out.push_back(GbkToUtf8(q));
  return out;
}

std::string ScriptedPlatform::LastMessageUtf8() const {
  return messages.empty() ? std::string() : GbkToUtf8(messages.back());
}

}  // namespace qp::testing
