// What the benchmarks share: a platform that answers every question with its
// default and only prints messages, repeatable small errors for generated
// observations, and a scratch folder for the files a computation writes.
#pragma once

#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "common/platform_services.h"

namespace qp::bench {

class QuietPlatform : public PlatformServices {
 public:
  void ShowMessage(const std::string& text, Icon) override { std::fprintf(stderr, "message: %s\n", text.c_str()); }
  Answer Ask(const std::string&, Buttons, Answer defaultAnswer, Icon) override { return defaultAnswer; }
  void Beep() override {}
  std::time_t CurrentTime() override { return 1767225600; }
  bool Launch(const std::string&, const std::vector<std::string>&, const std::string&) override { return false; }
};

// A repeatable value in [-amplitude, amplitude], different for each i.
inline double Wobble(int i, double amplitude) {
  return amplitude * std::sin(12.9898 * i + 78.233 * std::sin(0.37 * i));
}

// A folder under the system's temporary folder, removed with its contents
// when the object goes away.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& name)
      : path_((std::filesystem::temp_directory_path() / name).string()) {
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() { std::filesystem::remove_all(path_); }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace qp::bench
