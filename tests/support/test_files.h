// Scratch directories and small file helpers for tests.
#pragma once

#include <string>

namespace qp::testing {

// A fresh directory removed with its contents when the object goes away.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);

// Path of a file in the source tree (examples, golden files).
std::string SourcePath(const std::string& relative);

}  // namespace qp::testing
