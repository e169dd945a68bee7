#include "cli/cli_platform.h"

#include <spawn.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "common/gbk_text.h"
#include "common/numeric_field.h"

extern char** environ;

namespace qp {
namespace {

bool IsYes(const std::string& reply) { return reply == "y" || reply == "Y" || reply == "yes" || reply == "是"; }
bool IsNo(const std::string& reply) { return reply == "n" || reply == "N" || reply == "no" || reply == "否"; }

bool HasYesNo(Buttons buttons) { return buttons != Buttons::Ok && buttons != Buttons::OkCancel; }
Answer Negative(Buttons buttons) { return HasYesNo(buttons) ? Answer::No : Answer::Cancel; }
Answer Positive(Buttons buttons) { return HasYesNo(buttons) ? Answer::Yes : Answer::Ok; }

Answer ScriptedReply(ScriptedAnswer scripted, Buttons buttons, Answer defaultAnswer) {
  switch (scripted) {
    case ScriptedAnswer::Yes: return Positive(buttons);
    case ScriptedAnswer::No: return Negative(buttons);
    case ScriptedAnswer::Default: break;
  }
  return defaultAnswer;
}

}  // namespace

void CliPlatform::ShowMessage(const std::string& text, Icon) {
  std::cerr << GbkToUtf8(text) << std::endl;
}

Answer CliPlatform::Ask(const std::string& text, Buttons buttons, Answer defaultAnswer, Icon icon) {
  if (buttons == Buttons::Ok) return Answer::Ok;
  if (!isatty(STDIN_FILENO)) {
    const Answer answer = ScriptedReply(scripted_, buttons, defaultAnswer);
    // A warning question tells of input about to be left out: the run says
    // what it was asked and what the script answered.
    if (icon == Icon::Warning) {
      std::cerr << GbkToUtf8(text) << ' ' << (answer == Answer::Yes || answer == Answer::Ok ? "是" : "否") << std::endl;
    }
    return answer;
  }
  const bool defaultYes = defaultAnswer == Answer::Yes || defaultAnswer == Answer::Ok;
  for (;;) {
    std::cerr << GbkToUtf8(text) << (defaultYes ? " [Y/n] " : " [y/N] ") << std::flush;
    std::string reply;
    if (!std::getline(std::cin, reply)) return defaultAnswer;
    reply = std::string(Trim(reply));
    if (reply.empty()) return defaultAnswer;
    if (IsYes(reply)) return Positive(buttons);
    if (IsNo(reply)) return Negative(buttons);
  }
}

void CliPlatform::Beep() {
  if (isatty(STDERR_FILENO)) std::cerr << '\a' << std::flush;
}

std::time_t CliPlatform::CurrentTime() {
  if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH")) {
    char* end = nullptr;
    const long long seconds = std::strtoll(epoch, &end, 10);
    if (end != epoch && *end == '\0' && seconds >= 0) return static_cast<std::time_t>(seconds);
  }
  return std::time(nullptr);
}

bool CliPlatform::Launch(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& workingDirectory) {
  std::vector<std::string> argv{program};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  std::vector<char*> cargv;
  for (auto& a : argv) cargv.push_back(a.data());
  cargv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!workingDirectory.empty()) posix_spawn_file_actions_addchdir_np(&actions, workingDirectory.c_str());
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, program.c_str(), &actions, nullptr, cargv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return rc == 0;
}

}  // namespace qp
