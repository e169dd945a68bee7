#include "fuzz_support.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <cstring>
#include <iostream>
#include <limits>
#include <random>

#include <unistd.h>

#include "cli/command_options.h"
#include "common/gbk_text.h"
#include "common/report_file.h"

// The fuzzer's own mutator, offered to custom mutators (weak: the seed maker runs without it).
extern "C" __attribute__((weak)) size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

namespace qp::fuzz {

void Fail(const char* harness, const std::string& what) {
  std::fprintf(stderr, "\n*** invariant broken (%s): %s\n", harness, what.c_str());
  std::fflush(stderr);
  std::abort();
}

void QuietPlatform::ShowMessage(const std::string& text, Icon) {
  // Messages quote cut values: whatever the input, a message stays readable.
  FUZZ_CHECK(text.size() <= 16384, "a message of " + std::to_string(text.size()) + " bytes");
  messages.push_back(text);
}

// A question answered No may stop the run (a table cut at a blank line): the
// question is then what told the user why, and counts as a message.
Answer QuietPlatform::Ask(const std::string& text, Buttons, Answer defaultAnswer, Icon icon) {
  if (defaultAnswer == Answer::No) ShowMessage(text, icon);
  return defaultAnswer;
}

const std::string& ScratchDir() {
  // Kept for the whole process: the clean-up at exit still needs it.
  static const std::string* const dir = [] {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/quorvex-fuzz-XXXXXX";
    if (!mkdtemp(pattern.data())) Fail("scratch", "cannot make a scratch folder under " + pattern);
    // Each process cleans up after itself; a crash leaves the folder for a look.
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(ScratchDir(), ignored);
    });
    return new std::string(pattern);
  }();
  return *dir;
}

std::string ScratchPath(const std::string& name) { return ScratchDir() + "/" + name; }

void ClearScratch() {
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(ScratchDir(), ignored)) {
    std::filesystem::remove_all(entry.path(), ignored);
  }
}

void WriteBytes(const std::string& path, std::span<const uint8_t> bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) Fail("scratch", "cannot write " + path);
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) return {};
  std::vector<uint8_t> bytes(static_cast<size_t>(in.tellg()));
  in.seekg(0);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

CapturedOutput::CapturedOutput() : saved_(std::cout.rdbuf(buffer_.rdbuf())) {}
CapturedOutput::~CapturedOutput() { std::cout.rdbuf(saved_); }

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Word boundaries of printed numbers: blanks, separators, line ends, brackets.
bool IsBoundary(char c) {
  // A byte of a multi-byte character ends a word too ("[1/nan万]").
  if (static_cast<unsigned char>(c) >= 0x80) return true;
  switch (c) {
    case ' ': case '\t': case '\r': case '\n': case ',': case '=': case '(': case ')': case ':': case '|':
    case '/': case '[': case ']':
      return true;
    default:
      return false;
  }
}

// Compared character by character on purpose: library string searches would
// hand the fuzzer these very words.
bool WordAt(std::string_view text, size_t at, char a, char b, char c) {
  return at + 3 <= text.size() && Lower(text[at]) == a && Lower(text[at + 1]) == b && Lower(text[at + 2]) == c;
}

}  // namespace

bool HasNonFiniteNumber(std::string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (i > 0 && !IsBoundary(text[i - 1])) continue;
    size_t at = i;
    if (text[at] == '-' || text[at] == '+') ++at;
    if (!WordAt(text, at, 'n', 'a', 'n') && !WordAt(text, at, 'i', 'n', 'f')) continue;
    size_t end = at + 3;
    // "infinity" as some printers spell it.
    if (WordAt(text, at, 'i', 'n', 'f') && WordAt(text, end, 'i', 'n', 'i') && end + 5 <= text.size() &&
        Lower(text[end + 3]) == 't' && Lower(text[end + 4]) == 'y') {
      end += 5;
    }
    if (end == text.size() || IsBoundary(text[end])) return true;
  }
  return false;
}

void CheckingSink::Shape(const EntityHeader& header, const ShapeBlock& block, std::span<const GroundPoint> points) {
  ++entities;
  FUZZ_CHECK(points.size() <= static_cast<size_t>(kMaxShapePoints), "a shape with more points than a shape holds");
  FUZZ_CHECK(block.pointCount == static_cast<int32_t>(points.size()), "a shape whose count is not its points");
  if (requireFinite_) {
    for (const GroundPoint& p : points) {
      FUZZ_CHECK(std::isfinite(p.x) && std::isfinite(p.y), "a non-finite point drawn from an accepted record");
    }
  }
  if (next_) next_->Shape(header, block, points);
}

void CheckingSink::Text(const EntityHeader& header, const TextBlock& block) {
  ++entities;
  FUZZ_CHECK(block.length >= 0 && block.length <= static_cast<int32_t>(sizeof(block.text)),
             "a text longer than its field");
  if (requireFinite_) {
    FUZZ_CHECK(std::isfinite(block.x) && std::isfinite(block.y), "a text at a non-finite place");
    FUZZ_CHECK(std::isfinite(block.height) && std::isfinite(block.width) && std::isfinite(block.gap),
               "a text of non-finite size");
  }
  if (next_) next_->Text(header, block);
}

void CountingDevice::SetPen(Rgb, PenStyle, int widthPx) {
  FUZZ_CHECK(widthPx >= 0, "a pen of negative width");
  ++calls;
}

void CountingDevice::Polyline(std::span<const ScreenPoint> pts) {
  ++calls;
  points += static_cast<long long>(pts.size());
}

void CountingDevice::Polygon(std::span<const ScreenPoint> pts) {
  ++calls;
  points += static_cast<long long>(pts.size());
}

void CountingDevice::Glyph(ScreenPoint, std::string_view gbkCharacter, const GlyphFont& font, Rgb, bool) {
  ++calls;
  FUZZ_CHECK(gbkCharacter.size() == 1 || gbkCharacter.size() == 2, "a glyph that is not one character");
  FUZZ_CHECK(font.heightPx >= 0 && font.widthPx >= 0, "a glyph of negative size");
}

std::string SourcePath(const std::string& relative) { return std::string(QUORVEX_SOURCE_DIR) + "/" + relative; }

}  // namespace qp::fuzz

namespace qp::fuzz {

void CheckReportOf(const std::string& dataPath) {
  const std::vector<uint8_t> report = ReadBytes(ReportPathFor(dataPath));
  FUZZ_CHECK(!HasNonFiniteNumber(std::string_view(reinterpret_cast<const char*>(report.data()), report.size())),
             "a NaN or infinity printed in the report");
}

int CheckDataFileCommand(std::span<const uint8_t> input, const std::string& fileName, CommandRunner run,
                         bool compute) {
  ClearScratch();
  const std::string path = ScratchPath(fileName);
  WriteBytes(path, input);
  const std::vector<uint8_t> original(input.begin(), input.end());

  QuietPlatform platform;
  CommandOptions options;
  options.dataPath = path;
  options.dump = true;
  int status;
  {
    CapturedOutput out;
    status = run(options, platform);
    FUZZ_CHECK(!HasNonFiniteNumber(out.Text()), "a NaN or infinity in the dump");
  }
  FUZZ_CHECK(ReadBytes(path) == original, "--dump changed the data file");
  FUZZ_CHECK(status == 0 || !platform.messages.empty(), "a refused file without a message");
  if (status != 0 || !compute) return status;

  options.dump = false;
  platform.messages.clear();
  {
    CapturedOutput out;
    status = run(options, platform);
    FUZZ_CHECK(!HasNonFiniteNumber(out.Text()), "a NaN or infinity in the computed output");
  }
  CheckReportOf(path);
  if (status != 0) {
    FUZZ_CHECK(!platform.messages.empty(), "a stopped run without a message");
    FUZZ_CHECK(ReadBytes(path) == original,
               "a run that stopped with a message changed the data file: " + GbkToUtf8(platform.messages.back()));
  }
  return 0;
}

size_t MutateFixedSize(uint8_t* data, size_t size, size_t maxSize, unsigned int seed, size_t fixedSize,
                       size_t hotPrefix) {
  if (size != fixedSize) {
    // Wrong-length files are refused whole; let the fuzzer play with them as
    // it likes, but offer the right length back now and then.
    std::minstd_rand pick(seed);
    if (maxSize >= fixedSize && pick() % 4 == 0) {
      if (size < fixedSize) std::fill(data + size, data + fixedSize, 0);
      return fixedSize;
    }
    return LLVMFuzzerMutate(data, size, maxSize);
  }
  constexpr size_t kWindow = 16;
  std::minstd_rand pick(seed);
  const size_t rounds = 1 + pick() % 4;
  for (size_t r = 0; r < rounds; ++r) {
    const size_t span = (pick() % 2 == 0 ? std::min(hotPrefix, size) : size) - kWindow;
    const size_t at = pick() % (span + 1);
    if (pick() % 4 == 0) {
      // Damage that byte flips hardly ever make: a NaN, an infinity or an
      // absurd number in an aligned double, or an absurd count in an int32.
      static constexpr double kDoubles[] = {std::numeric_limits<double>::quiet_NaN(),
                                            std::numeric_limits<double>::infinity(),
                                            -std::numeric_limits<double>::infinity(), 1e300, -1e300, 0.0};
      static constexpr int32_t kInts[] = {-1, std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::min(),
                                          65536, 4097, 0};
      if (pick() % 2 == 0) {
        std::memcpy(data + (at & ~size_t{7}), &kDoubles[pick() % std::size(kDoubles)], sizeof(double));
      } else {
        std::memcpy(data + (at & ~size_t{3}), &kInts[pick() % std::size(kInts)], sizeof(int32_t));
      }
      continue;
    }
    uint8_t window[kWindow];
    std::copy(data + at, data + at + kWindow, window);
    const size_t used = LLVMFuzzerMutate(window, kWindow, kWindow);
    std::copy(window, window + std::min(used, kWindow), data + at);
  }
  return size;
}

}  // namespace qp::fuzz
