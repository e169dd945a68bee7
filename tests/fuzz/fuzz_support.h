// What the fuzz harnesses share: a quiet platform, a private scratch folder,
// files written from the fuzz input and compared afterwards, the standard
// output captured, and the checks that stop the run with a readable reason.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "common/platform_services.h"
#include "drawing/drawing_device.h"
#include "drawing/entities.h"

namespace qp::fuzz {

// Prints the reason and aborts, which libFuzzer reports as a crash and keeps
// the input.
[[noreturn]] void Fail(const char* harness, const std::string& what);
#define FUZZ_CHECK(cond, what) \
  do {                         \
    if (!(cond)) ::qp::fuzz::Fail(__FILE__, what); \
  } while (0)

// Messages are counted, questions get their default button (a question answered
// No counts as a message), the clock stands still.
class QuietPlatform : public PlatformServices {
 public:
  void ShowMessage(const std::string& text, Icon icon = Icon::None) override;
  Answer Ask(const std::string& text, Buttons buttons, Answer defaultAnswer, Icon icon = Icon::Question) override;
  void Beep() override {}
  std::time_t CurrentTime() override { return 1767225600; }
  bool Launch(const std::string&, const std::vector<std::string>&, const std::string&) override { return false; }

  std::vector<std::string> messages;  // GBK
};

// The length of the statistics report beside the flags files the
// statistics_flags harness reads (its seeds record it).
inline constexpr size_t kFlagsFuzzReportBytes = 64;

// The process's own scratch folder (made once, under $TMPDIR), and a path in it.
const std::string& ScratchDir();
std::string ScratchPath(const std::string& name);
// Removes every file of the scratch folder.
void ClearScratch();

void WriteBytes(const std::string& path, std::span<const uint8_t> bytes);
// The file's bytes; empty when it is missing.
std::vector<uint8_t> ReadBytes(const std::string& path);

// Keeps what is written to std::cout while alive.
class CapturedOutput {
 public:
  CapturedOutput();
  ~CapturedOutput();
  std::string Text() const { return buffer_.str(); }

 private:
  std::ostringstream buffer_;
  std::streambuf* saved_;
};

// True when `text` holds a printed NaN or infinity: "nan", "inf" (any case,
// with an optional sign, as printf writes them) standing alone between
// blanks, separators, brackets, slashes, multi-byte characters or line ends.
bool HasNonFiniteNumber(std::string_view text);

// Checks every entity on its way to the next sink: finite ground points,
// point counts within the shape capacity, texts within their field.
class CheckingSink : public EntitySink {
 public:
  // `requireFinite`: the entities come from records the readers accepted, so
  // no NaN or infinity may reach a coordinate, a size or a direction.
  CheckingSink(EntitySink* next, bool requireFinite) : next_(next), requireFinite_(requireFinite) {}
  void Shape(const EntityHeader& header, const ShapeBlock& block, std::span<const GroundPoint> points) override;
  void Text(const EntityHeader& header, const TextBlock& block) override;
  long long entities = 0;

 private:
  EntitySink* next_;
  bool requireFinite_;
};

// A device that only counts what it is asked to draw and checks the calls.
class CountingDevice : public DrawingDevice {
 public:
  void SetPen(Rgb colour, PenStyle style, int widthPx) override;
  void SetBrush(std::optional<Rgb>) override {}
  void Polyline(std::span<const ScreenPoint> points) override;
  void Polygon(std::span<const ScreenPoint> points) override;
  void Glyph(ScreenPoint topLeft, std::string_view gbkCharacter, const GlyphFont& font, Rgb colour,
             bool opaqueBackground) override;
  long long calls = 0;
  long long points = 0;
};

// The source tree, for the examples the harnesses start from.
std::string SourcePath(const std::string& relative);

}  // namespace qp::fuzz

namespace qp {
struct CommandOptions;
}

namespace qp::fuzz {

using CommandRunner = int (*)(const CommandOptions&, PlatformServices&);

// Writes the input as the data file `fileName` of a command and runs it with
// --dump: the file may be refused, but never changed, and nothing printed may
// be a NaN or an infinity. With `compute`, an accepted file is then computed
// as the command does without --input: again nothing non-finite in the output
// or the report, and a run that stops with a message leaves the file as it
// was. Returns the dump run's exit status.
int CheckDataFileCommand(std::span<const uint8_t> input, const std::string& fileName, CommandRunner run,
                         bool compute);

// Checks the report beside `dataPath`, when one was written, for printed
// NaN and infinity.
void CheckReportOf(const std::string& dataPath);

// Data files of the two networks are 600-800 KB of which a fuzzer flipping
// bytes anywhere would mostly hit unused capacity: inputs of exactly
// `fixedSize` bytes are mutated a small window at a time, half of the time in
// the settings and the record's leading counts, and keep their length.
size_t MutateFixedSize(uint8_t* data, size_t size, size_t maxSize, unsigned int seed, size_t fixedSize,
                       size_t hotPrefix);

}  // namespace qp::fuzz
