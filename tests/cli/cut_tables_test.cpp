// Tables of an input file beyond their capacity: the dialogs cut them without
// a word, the command-line driver names them on stderr.
#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <string>

#include "cli/command_support.h"
#include "cli/plane_command.h"
#include "cli/zone_command.h"
#include "common/format.h"
#include "support/command_input.h"
#include "support/scripted_platform.h"
#include "support/test_files.h"

namespace qp {
namespace {

using testing::OptionsWithInput;
using testing::ScriptedPlatform;
using testing::TempDir;

std::string Lines(int count, const char* format) {
  std::string text;
  for (int i = 0; i < count; ++i) text += Format(format, i, i);
  return text;
}

TEST(CutTables, EveryCutTableIsNamedWithTheLinesReadAndIgnored) {
  struct Case {
    const char* name;
    int (*run)(const CommandOptions&, PlatformServices&);
    const char* dataFile;
    std::string input;
    std::string notes;
  } cases[] = {
      {"zone", RunZoneCommand, "Z.GST",
       "[设置]\n换带前经度 = 117\n换带后经度 = 120\n[换带前坐标]\n" +
           Lines(1100, "P%d,3380000.%03d,500000\n"),
       "注意: [换带前坐标]超出容量, 读入1024行, 其余76行未读入\n"},
      {"zone within capacity", RunZoneCommand, "Y.GST",
       "[设置]\n换带前经度 = 117\n换带后经度 = 120\n[换带前坐标]\n" +
           Lines(1024, "P%d,3380000.%03d,500000\n"),
       ""},
      {"plane", RunPlaneCommand, "N.NAP",
       "[已知点]\nA,1000.0000,2000.0000\nB,1000.0000,3000.0000\n[精度端点]\n" + Lines(70, "A%d,B%d\n") +
           "\n[方向观测值]\n" + Lines(3000, "S%d,T%d,0.0000\n"),
       "注意: [精度端点]超出容量, 读入64行, 其余6行未读入\n"
       "注意: [方向观测值]超出容量, 读入2048行, 其余952行未读入\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    ScriptedPlatform platform;
    const CommandOptions options = OptionsWithInput(dir, dir.File(c.dataFile), c.input, false);
    std::ostringstream out;
    auto* old = std::cout.rdbuf(out.rdbuf());
    // The run itself goes as it would without the note.
    ScriptedPlatform alone;
    const int expected = c.run(OptionsWithInput(dir, dir.File(std::string("alone") + c.dataFile), c.input, false),
                               alone);
    std::ostringstream notes;
    const int status = RunNotingCutTables(c.run, options, platform, notes);
    std::cout.rdbuf(old);
    EXPECT_EQ(status, expected);
    EXPECT_EQ(notes.str(), c.notes);
  }
}

}  // namespace
}  // namespace qp
