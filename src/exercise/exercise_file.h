// The exercise record: the whole state of the exercise solver, and the byte
// image of its .STY files and of the solver's state file "QuorvexPlusA.sys".
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace qp {

inline constexpr int kExerciseGridSize = 10;      // observations, unknowns, conditions
inline constexpr int kMaxRestrictions = 3;        // s
inline constexpr int kMaxWeightFunctions = 3;     // k
inline constexpr int kMaxParameters = 3;          // u
inline constexpr size_t kExerciseFileSize = 1512;

enum ExerciseMethod : int32_t {
  kNormalEquations = 0,      // "法方程解算"
  kConditionAdjustment = 1,  // "条件平差" (with u parameters)
  kIndirectAdjustment = 2,   // "间接平差" (with s restrictions)
};

// Every matrix is stored in rows of ten, whatever its used size.
struct ExerciseFile {
  int32_t method;
  int32_t nIndex;  // observations n − 1; in a condition adjustment n counts the u parameters too
  int32_t tIndex;  // unknowns t − 1; condition adjustment: nIndex − rIndex
  int32_t rIndex;  // condition equations r − 1; indirect adjustment: nIndex − tIndex
  double coefficients[kExerciseGridSize][kExerciseGridSize];  // A (r × n), B (n × t) or N (t × t)
  double constants[kExerciseGridSize];                         // w (r), l (n) or the normal constants (t)
  double weights[kExerciseGridSize];                           // p (n)
  int32_t restrictionCount;                                    // s
  uint8_t unused980[4];
  double restrictions[kMaxRestrictions][kExerciseGridSize];    // C (s × t)
  double restrictionConstants[kMaxRestrictions];
  int32_t functionCount;                                       // k
  uint8_t unused1252[4];
  double weightFunctions[kMaxWeightFunctions][kExerciseGridSize];
  int32_t parameterCount;                                      // u
  int32_t reserved[3];
};

static_assert(std::endian::native == std::endian::little, "the exercise files are little-endian images");
static_assert(sizeof(ExerciseFile) == kExerciseFileSize);
static_assert(offsetof(ExerciseFile, method) == 0);
static_assert(offsetof(ExerciseFile, nIndex) == 4);
static_assert(offsetof(ExerciseFile, tIndex) == 8);
static_assert(offsetof(ExerciseFile, rIndex) == 12);
static_assert(offsetof(ExerciseFile, coefficients) == 16);
static_assert(offsetof(ExerciseFile, constants) == 816);
static_assert(offsetof(ExerciseFile, weights) == 896);
static_assert(offsetof(ExerciseFile, restrictionCount) == 976);
static_assert(offsetof(ExerciseFile, unused980) == 980);
static_assert(offsetof(ExerciseFile, restrictions) == 984);
static_assert(offsetof(ExerciseFile, restrictionConstants) == 1224);
static_assert(offsetof(ExerciseFile, functionCount) == 1248);
static_assert(offsetof(ExerciseFile, unused1252) == 1252);
static_assert(offsetof(ExerciseFile, weightFunctions) == 1256);
static_assert(offsetof(ExerciseFile, parameterCount) == 1496);
static_assert(offsetof(ExerciseFile, reserved) == 1500);

// A new exercise: normal equations, n = t = 4, r = 1, every count and array 0.
ExerciseFile DefaultExercise();

// The file's record when it is exactly 1512 bytes long. Counts outside their
// combo ranges are brought into range and values that are not finite become
// 0, so nothing read from a file can index past a grid or show as NaN.
std::optional<ExerciseFile> ReadExerciseFile(const std::string& path);

// Writes the record through a temporary file renamed over `path`.
bool WriteExerciseFile(const std::string& path, const ExerciseFile& record);

inline constexpr const char* kExerciseStateFileName = "QuorvexPlusA.sys";

// Where the solver keeps its state file: in the program directory when that
// directory is writable, otherwise in the user's configuration directory
// ($XDG_CONFIG_HOME, or ~/.config, subfolder QuorvexPlus, created as needed).
std::string ExerciseStatePath(const std::string& programDirectory);

}  // namespace qp
