#include "common/file_clash.h"

#include <sys/stat.h>

#include <filesystem>
#include <system_error>

#include "common/format.h"
#include "common/gbk_text.h"

namespace qp {
namespace {

// The absolute path with every link of its existing part resolved.
std::filesystem::path CanonicalOf(const std::string& path) {
  std::error_code ec;
  std::filesystem::path absolute = std::filesystem::absolute(path, ec);
  if (ec) absolute = path;
  std::filesystem::path canonical = std::filesystem::weakly_canonical(absolute, ec);
  return ec ? absolute.lexically_normal() : canonical;
}

}  // namespace

bool SameFile(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return false;
  struct stat sa {}, sb {};
  if (::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0) {
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
  }
  return CanonicalOf(a) == CanonicalOf(b);
}

std::optional<FileClash> FindFileClash(const RunFiles& files) {
  std::vector<FileUse> written;
  if (files.dataFileWritten) written.push_back(files.dataFile);
  written.insert(written.end(), files.outputs.begin(), files.outputs.end());
  for (size_t i = 0; i < written.size(); ++i) {
    const FileUse& w = written[i];
    if (w.path.empty()) continue;
    // The data file written back in place is the data file read: not a clash.
    if (!(files.dataFileWritten && i == 0) && SameFile(w.path, files.dataFile.path)) {
      return FileClash{w, files.dataFile};
    }
    for (const FileUse& in : files.inputs) {
      if (SameFile(w.path, in.path)) return FileClash{w, in};
    }
    for (size_t k = 0; k < i; ++k) {
      if (SameFile(w.path, written[k].path)) return FileClash{w, written[k]};
    }
  }
  return std::nullopt;
}

std::string FileClashMessage(const FileClash& clash) {
  return FormatText("%s与%s是同一个文件, 不能覆盖, 未写入任何文件 !\r\n%s", Utf8ToGbk(clash.written.role).c_str(),
                    Utf8ToGbk(clash.other.role).c_str(), DecodeUserTextToGbk(clash.written.path).c_str());
}

bool CheckNoInputOverwritten(const RunFiles& files, PlatformServices& platform) {
  const auto clash = FindFileClash(files);
  if (!clash) return true;
  platform.ShowMessage(FileClashMessage(*clash), Icon::Error);
  return false;
}

}  // namespace qp
