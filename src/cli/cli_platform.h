// Platform services on a terminal: messages go to stderr in UTF-8; questions
// are asked on the terminal when stdin is one, otherwise answered by --yes,
// --no or the question's default button (a warning question is then written
// to stderr with the answer taken).
#pragma once

#include "common/platform_services.h"

namespace qp {

enum class ScriptedAnswer { Default, Yes, No };

class CliPlatform : public PlatformServices {
 public:
  explicit CliPlatform(ScriptedAnswer scripted) : scripted_(scripted) {}

  void ShowMessage(const std::string& text, Icon icon = Icon::None) override;
  Answer Ask(const std::string& text, Buttons buttons, Answer defaultAnswer, Icon icon = Icon::Question) override;
  void Beep() override;
  // SOURCE_DATE_EPOCH, when set, replaces the clock so reports are reproducible.
  std::time_t CurrentTime() override;
  bool Launch(const std::string& program, const std::vector<std::string>& arguments,
              const std::string& workingDirectory) override;

 private:
  ScriptedAnswer scripted_;
};

}  // namespace qp
