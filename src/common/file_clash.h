// Guards against a run that would write over one of its own inputs: a typo
// such as a picture named like the data file, or an input text named like the
// report, must not destroy the user's network or observations.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/platform_services.h"

namespace qp {

// True when the two names denote one file: the same device and inode when
// both exist (hard links, "./" and symbolic links included), else the same
// canonical path.
bool SameFile(const std::string& a, const std::string& b);

// A file a run reads or writes, with what it is to the user (UTF-8, e.g. "报告文件").
struct FileUse {
  std::string path;
  const char* role = "";
};

// The files of one run: its data file, read and (when `dataFileWritten`)
// written back in place, the other files it reads and those it writes.
struct RunFiles {
  FileUse dataFile;
  bool dataFileWritten = true;
  std::vector<FileUse> inputs;
  std::vector<FileUse> outputs;
};

// A file the run would write that is one of its inputs or another of its outputs.
struct FileClash {
  FileUse written;
  FileUse other;
};

// The first clash, looking at every file written in turn; nothing when the
// run overwrites none of its inputs. Files without a path are left out.
std::optional<FileClash> FindFileClash(const RunFiles& files);

// The message (GBK) naming both uses and the file.
std::string FileClashMessage(const FileClash& clash);

// False, after that message, when the run would write over one of its
// inputs or write one file twice: the check every command and the desktop
// make before they write anything.
bool CheckNoInputOverwritten(const RunFiles& files, PlatformServices& platform);

}  // namespace qp
