// The plane cycle as both front ends run it through their session: the
// derived height network of the slope-distance modes lands in the session's
// height record and beside the data file, and nowhere in the other modes.
#include "workflow/network_session.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "common/gbk_text.h"
#include "height/height_file.h"
#include "plane/plane_file.h"
#include "support/scripted_platform.h"
#include "support/test_files.h"
#include "support/typed_example.h"

namespace qp {
namespace {

using testing::ReadBytes;
using testing::TypeExample;

struct HandOverCase {
  const char* example;
  int calcMode;
  bool blocked;              // a folder stands where the derived file goes
  bool derived;              // the session's height record is the derived network
  const char* lastMessage;   // UTF-8; "" for none
};

TEST(NetworkSession, HandsTheDerivedHeightNetworkOverInTheSlopeModesOnly) {
  const HandOverCase cases[] = {
      {"triangulation.txt", 1, false, false, ""},
      {"slope_mode2.txt", 2, false, true, ""},
      {"slope_mode2.txt", 2, true, true, "高程网数据文件写入错误 !"},
  };
  for (const HandOverCase& c : cases) {
    SCOPED_TRACE(std::string(c.example) + (c.blocked ? " blocked" : ""));
    testing::TempDir dir;
    testing::ScriptedPlatform platform;
    NetworkSession session;
    const std::string path = dir.File("网.NAP");
    const std::string derivedPath = dir.File("网BPT.NAH");
    if (c.blocked) std::filesystem::create_directory(derivedPath);
    ResetSettingsBlock(*session.settings);
    ResetPlaneNetwork(*session.plane, Utf8ToGbk(path));
    ASSERT_TRUE(ReadWritePlaneFile(path, FileDirection::Write, *session.settings, *session.plane));

    const auto result = session.EditPlane(path, platform, [&](PlaneNetwork& net, const PlaneDialogTarget& target) {
      PlaneInputForm form;
      InitializePlaneForm(form, net, target.draftPath);
      SelectPlaneCalcMode(form, net, c.calcMode);
      TypeExample(form, c.example);
      return RunPlaneConfirmation(form, net, platform, target.draftPath, target.steps).accepted;
    });
    ASSERT_EQ(result, NetworkEditResult::Computed) << platform.LastMessageUtf8();
    EXPECT_EQ(platform.messages.empty() ? "" : platform.LastMessageUtf8(), c.lastMessage);
    EXPECT_EQ(session.height->derivedFlag, c.derived ? 1 : 0);
    const bool written = c.derived && !c.blocked;
    EXPECT_EQ(std::filesystem::is_regular_file(derivedPath), written);
    if (written) {
      EXPECT_EQ(ReadBytes(derivedPath).size(), kHeightFileSize);
    }
  }
}

}  // namespace
}  // namespace qp
