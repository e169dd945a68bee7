// Platform services of the desktop application: message boxes and questions
// over the active window, the system beep, the wait cursor and detached
// processes.
#pragma once

#include "common/platform_services.h"

namespace qp {

class QtPlatform : public PlatformServices {
 public:
  void ShowMessage(const std::string& text, Icon icon = Icon::None) override;
  Answer Ask(const std::string& text, Buttons buttons, Answer defaultAnswer, Icon icon = Icon::Question) override;
  void Beep() override;
  std::time_t CurrentTime() override;
  bool Launch(const std::string& program, const std::vector<std::string>& arguments,
              const std::string& workingDirectory) override;
  void BeginWait() override;
  void EndWait() override;
};

}  // namespace qp
