// A data file whose unused bytes hold anything — the reserved and padding
// fields, the result regions the code never interprets, the bytes after the
// end of every name and text — comes back byte for byte when it is loaded and
// saved again: the records are kept as the file holds them.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "cli/height_command.h"
#include "cli/plane_command.h"
#include "common/settings_block.h"
#include "drawing/drawing_export.h"
#include "workflow/drawing_files.h"
#include "height/height_file.h"
#include "plane/plane_file.h"
#include "plane/plane_network.h"
#include "support/scripted_platform.h"
#include "support/test_files.h"

namespace qp {
namespace {

using testing::ReadBytes;
using testing::ScriptedPlatform;
using testing::SourcePath;
using testing::TempDir;

// A run of bytes in the file; `slot` > 0 makes it names or texts of that
// size, of which only the bytes after the terminating NUL are free.
struct Region {
  size_t offset;
  size_t size;
  size_t slot = 0;
};

#define FIELD(Record, base, field, ...) \
  Region { (base) + offsetof(Record, field), sizeof(Record::field), __VA_ARGS__ }

constexpr size_t kNetwork = sizeof(SettingsBlock);  // the record follows the settings block

std::vector<Region> SettingsRegions() {
  return {FIELD(SettingsBlock, 0, reserved4),           FIELD(SettingsBlock, 0, reserved40),
          FIELD(SettingsBlock, 0, reserved112),         FIELD(SettingsBlock, 0, reserved552),
          FIELD(SettingsBlock, 0, reserved872),         FIELD(SettingsBlock, 0, reserved2305),
          FIELD(SettingsBlock, 0, reserved2316),        FIELD(SettingsBlock, 0, reserved2388),
          FIELD(SettingsBlock, 0, reserved2448),        FIELD(SettingsBlock, 0, reserved3000),
          FIELD(SettingsBlock, 0, reserved4508),        FIELD(SettingsBlock, 0, reserved4536),
          FIELD(SettingsBlock, 0, textFontFace, 32),    FIELD(SettingsBlock, 0, legendCells, 15),
          FIELD(SettingsBlock, 0, sheetTexts, 65),      FIELD(SettingsBlock, 0, thirdTitleLine, 65)};
}

std::vector<Region> PlaneRegions(int32_t traverses) {
  using P = PlaneNetwork;
  std::vector<Region> r = SettingsRegions();
  const std::vector<Region> record = {
      FIELD(P, kNetwork, reservedSingle),     FIELD(P, kNetwork, reserved36),
      FIELD(P, kNetwork, pad47540),           FIELD(P, kNetwork, pad174556),
      FIELD(P, kNetwork, pad176484),          FIELD(P, kNetwork, pad178924),
      FIELD(P, kNetwork, pad256756),          FIELD(P, kNetwork, pad445180),
      FIELD(P, kNetwork, pad447108),          FIELD(P, kNetwork, pad450252),
      FIELD(P, kNetwork, resultRegionA1),     FIELD(P, kNetwork, resultRegionA2),
      FIELD(P, kNetwork, reserved662444),     FIELD(P, kNetwork, resultRegionD),
      FIELD(P, kNetwork, networkName, 65),    FIELD(P, kNetwork, dataFilePath, 263),
      FIELD(P, kNetwork, nameList, 11),       FIELD(P, kNetwork, pointName, 11),
      FIELD(P, kNetwork, directionStation, 11), FIELD(P, kNetwork, directionTarget, 11),
      FIELD(P, kNetwork, inputStation, 11),   FIELD(P, kNetwork, inputTarget, 11),
      FIELD(P, kNetwork, fixedAzimuthFrom, 11), FIELD(P, kNetwork, fixedAzimuthTo, 11),
      FIELD(P, kNetwork, weightedAzimuthFrom, 11), FIELD(P, kNetwork, weightedAzimuthTo, 11),
      FIELD(P, kNetwork, reducedFrom, 11),    FIELD(P, kNetwork, reducedTo, 11),
      FIELD(P, kNetwork, lineFrom, 11),       FIELD(P, kNetwork, lineTo, 11),
      FIELD(P, kNetwork, fixedDistanceFrom, 11), FIELD(P, kNetwork, fixedDistanceTo, 11),
      FIELD(P, kNetwork, weightedDistanceFrom, 11), FIELD(P, kNetwork, weightedDistanceTo, 11),
      FIELD(P, kNetwork, knownHeightName, 11), FIELD(P, kNetwork, sideFrom, 11),
      FIELD(P, kNetwork, sideTo, 11),         FIELD(P, kNetwork, pairFirst, 11),
      FIELD(P, kNetwork, pairSecond, 11),     FIELD(P, kNetwork, numberFontFace, 32),
      FIELD(P, kNetwork, textFontFace, 32),
  };
  r.insert(r.end(), record.begin(), record.end());
  // Result region C: the alignment bytes, the traverse entries not in use and
  // the reserved rest; of the entries in use, the names' tails and the padding.
  const size_t table = kNetwork + kTraverseTableOffset;
  const size_t c = kNetwork + offsetof(P, resultRegionC);
  const size_t used = static_cast<size_t>(traverses) * kTraverseEntrySize;
  r.push_back({c, table - c});
  r.push_back({table + used, kNetwork + offsetof(P, closureCheckCount) - table - used});
  for (size_t i = 0; i < static_cast<size_t>(traverses); ++i) {
    r.push_back({table + i * kTraverseEntrySize, 44, 11});
    r.push_back({table + i * kTraverseEntrySize + 97, 7});
  }
  return r;
}

std::vector<Region> HeightRegions() {
  using H = HeightNetwork;
  std::vector<Region> r = SettingsRegions();
  const std::vector<Region> record = {
      FIELD(H, kNetwork, pad12),          FIELD(H, kNetwork, pad45452),
      FIELD(H, kNetwork, pad141716),      FIELD(H, kNetwork, pad174492),
      FIELD(H, kNetwork, pad486180),      FIELD(H, kNetwork, pad486956),
      FIELD(H, kNetwork, reserved585348), FIELD(H, kNetwork, pad585380),
      FIELD(H, kNetwork, reserved587432), FIELD(H, kNetwork, networkName, 65),
      FIELD(H, kNetwork, dataFilePath, 263), FIELD(H, kNetwork, nameList, 11),
      FIELD(H, kNetwork, pointName, 11),  FIELD(H, kNetwork, coordinateName, 11),
      FIELD(H, kNetwork, from, 11),       FIELD(H, kNetwork, to, 11),
      FIELD(H, kNetwork, pairFrom, 11),   FIELD(H, kNetwork, pairTo, 11),
      FIELD(H, kNetwork, numberFontFace, 32), FIELD(H, kNetwork, textFontFace, 32),
  };
  r.insert(r.end(), record.begin(), record.end());
  for (size_t i = 0; i < kMaxLoopEntries; ++i) {
    const size_t entry = kNetwork + offsetof(H, loops) + i * sizeof(LoopEntry);
    r.push_back({entry, sizeof(LoopEntry::names), 11});
    r.push_back({entry + offsetof(LoopEntry, pad68), sizeof(LoopEntry::pad68)});
    r.push_back({entry + offsetof(LoopEntry, pad89), sizeof(LoopEntry::pad89)});
  }
  return r;
}

#undef FIELD

// The file with every free byte of `regions` random.
std::string Scrambled(std::string bytes, const std::vector<Region>& regions, unsigned seed) {
  std::mt19937 random(seed);
  const auto fill = [&](size_t from, size_t to) {
    for (size_t i = from; i < to; ++i) bytes[i] = static_cast<char>(random() & 0xFF);
  };
  for (const Region& r : regions) {
    EXPECT_LE(r.offset + r.size, bytes.size());
    if (r.slot == 0) {
      fill(r.offset, r.offset + r.size);
      continue;
    }
    for (size_t s = r.offset; s + r.slot <= r.offset + r.size; s += r.slot) {
      const size_t end = bytes.find('\0', s);
      if (end < s + r.slot) fill(end + 1, s + r.slot);
    }
  }
  return bytes;
}

struct Case {
  const char* name;
  const char* example;
  bool height;
};

class DataFileRoundTrip : public ::testing::TestWithParam<Case> {};

TEST_P(DataFileRoundTrip, FreeBytesComeBackAsTheyWere) {
  const Case& c = GetParam();
  TempDir dir;
  ScriptedPlatform platform;
  CommandOptions options;
  options.dataPath = dir.File(c.height ? "NET.NAH" : "NET.NAP");
  options.inputPath = SourcePath(c.example);
  ASSERT_EQ((c.height ? RunHeightCommand : RunPlaneCommand)(options, platform), 0) << platform.LastMessageUtf8();
  const std::string computed = ReadBytes(options.dataPath);

  auto settings = std::make_unique<SettingsBlock>();
  auto plane = std::make_unique<PlaneNetwork>();
  auto height = std::make_unique<HeightNetwork>();
  const auto load = [&](const std::string& path) {
    return c.height ? ReadHeightFile(path, *settings, *height)
                    : ReadWritePlaneFile(path, FileDirection::Read, *settings, *plane);
  };
  ASSERT_TRUE(load(options.dataPath));
  const std::vector<Region> regions = c.height ? HeightRegions() : PlaneRegions(plane->closureCheckCount);

  for (unsigned seed = 1; seed <= 3; ++seed) {
    const std::string scrambled = Scrambled(computed, regions, seed);
    ASSERT_NE(scrambled, computed);
    const std::string in = dir.File("in" + std::to_string(seed) + (c.height ? ".NAH" : ".NAP"));
    const std::string out = dir.File("out" + std::to_string(seed) + (c.height ? ".NAH" : ".NAP"));
    testing::WriteBytes(in, scrambled);
    ASSERT_TRUE(load(in)) << seed;
    // Saved as the drawing saves its settings into the data file.
    ASSERT_TRUE(WriteGraphicData(out, *settings, c.height ? nullptr : plane.get(), c.height ? height.get() : nullptr));
    EXPECT_TRUE(ReadBytes(out) == scrambled) << c.name << " seed " << seed;
  }
}

INSTANTIATE_TEST_SUITE_P(Examples, DataFileRoundTrip,
                         ::testing::Values(Case{"planted_blunder", "examples/plane/planted_blunder.txt", false},
                                           Case{"slope_mode2", "examples/plane/slope_mode2.txt", false},
                                           Case{"closures", "examples/height/closures.txt", true},
                                           Case{"trigonometric", "examples/height/trigonometric.txt", true}),
                         [](const auto& test) { return std::string(test.param.name); });

}  // namespace
}  // namespace qp
