#include "exercise/exercise_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "common/binary_file.h"
#include "common/finite_values.h"

namespace qp {
namespace {

int32_t Clamp(int32_t value, int32_t low, int32_t high) { return std::clamp(value, low, high); }

// mkdir -p for the configuration folder.
bool MakeDirectories(const std::string& path) {
  for (size_t pos = 1; pos <= path.size(); ++pos) {
    if (pos != path.size() && path[pos] != '/') continue;
    const std::string prefix = path.substr(0, pos);
    if (::mkdir(prefix.c_str(), 0777) != 0 && errno != EEXIST) return false;
  }
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string JoinPath(const std::string& directory, const std::string& name) {
  if (directory.empty()) return name;
  return directory.back() == '/' ? directory + name : directory + "/" + name;
}

}  // namespace

ExerciseFile DefaultExercise() {
  ExerciseFile record;
  std::memset(&record, 0, sizeof record);
  record.method = kNormalEquations;
  record.nIndex = 3;
  record.tIndex = 3;
  record.rIndex = 0;
  return record;
}

std::optional<ExerciseFile> ReadExerciseFile(const std::string& path) {
  ExerciseFile record;
  if (!ReadRecords(path, record)) return std::nullopt;
  const int32_t last = kExerciseGridSize - 1;
  record.method = Clamp(record.method, kNormalEquations, kIndirectAdjustment);
  record.nIndex = Clamp(record.nIndex, 0, last);
  record.tIndex = Clamp(record.tIndex, 0, last);
  record.rIndex = Clamp(record.rIndex, 0, last);
  record.restrictionCount = Clamp(record.restrictionCount, 0, kMaxRestrictions);
  record.functionCount = Clamp(record.functionCount, 0, kMaxWeightFunctions);
  record.parameterCount = Clamp(record.parameterCount, 0, kMaxParameters);
  ZeroNonFinite(record.coefficients, record.constants, record.weights, record.restrictions,
                record.restrictionConstants, record.weightFunctions);
  return record;
}

bool WriteExerciseFile(const std::string& path, const ExerciseFile& record) {
  return WriteRecords(path, record);
}

std::string ExerciseStatePath(const std::string& programDirectory) {
  const std::string inProgramDirectory = JoinPath(programDirectory, kExerciseStateFileName);
  const std::string directory = programDirectory.empty() ? "." : programDirectory;
  if (::access(directory.c_str(), W_OK) == 0) return inProgramDirectory;

  std::string config;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/') {
    config = xdg;
  } else if (const char* home = std::getenv("HOME"); home && home[0] == '/') {
    config = JoinPath(home, ".config");
  } else {
    return inProgramDirectory;  // nowhere better: saving will fail quietly
  }
  const std::string folder = JoinPath(config, "QuorvexPlus");
  MakeDirectories(folder);
  return JoinPath(folder, kExerciseStateFileName);
}

}  // namespace qp
