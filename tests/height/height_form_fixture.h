// A height input dialog with usable settings over a fresh record, and the
// helpers the height tests share.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "common/settings_block.h"
#include "height/height_file.h"
#include "height/height_input_form.h"
#include "workflow/height_workflow.h"
#include "support/scripted_platform.h"
#include "support/test_files.h"

namespace qp::testing {

struct HeightFormTest : ::testing::Test {
  std::unique_ptr<HeightNetwork> net = std::make_unique<HeightNetwork>();
  HeightInputForm form;
  ScriptedPlatform platform;
  TempDir dir;
  SectionNumber section;
  InputCheck lastConfirmation;

  void SetUp() override {
    ResetHeightNetwork(*net, "net.NAH");
    form = HeightInputForm{};
    form.mode = kHeightAdjust;
    form.networkName = Gbk("测试高程网");
    form.priorError = "1.0";
  }

  // Types UTF-8 text into a box, which holds GBK.
  void Type(HeightTextBox box, const std::string& utf8) { form.boxes[box] = Utf8ToGbk(utf8); }

  // Parses the whole dialog; the message it gave in UTF-8, "" when accepted.
  std::string Parse() {
    platform.messages.clear();
    const bool ok = ParseAll(form, *net, platform).accepted;
    EXPECT_EQ(ok, platform.messages.empty());
    return platform.LastMessageUtf8();
  }

  HeightReportTarget Target() { return {dir.File("net.txt"), dir.File("net.HTP"), section}; }

  // Runs the confirmation without its question (its answer in `lastConfirmation`);
  // all messages joined by "|".
  std::string Confirm() {
    platform.messages.clear();
    lastConfirmation = RunHeightConfirmation(form, *net, platform, Target());
    const bool ok = lastConfirmation.accepted;
    std::string joined;
    for (const auto& m : platform.MessagesUtf8()) joined += (joined.empty() ? "" : "|") + m;
    EXPECT_EQ(ok, joined.empty()) << joined;
    return joined;
  }

  std::string PointName(int i) const { return GbkToUtf8(SlotText(net->pointName[i])); }
};

// The same dialog inside the workspace of a whole edit, over a data file
// written with a fresh record.
struct HeightWorkspaceTest : HeightFormTest {
  std::unique_ptr<SettingsBlock> settings = std::make_unique<SettingsBlock>();
  std::unique_ptr<HeightNetwork> backup = std::make_unique<HeightNetwork>();
  std::string nah = dir.File("net.NAH");
  HeightWorkspace ws{*settings, section, *net, *backup, nah};

  void SetUp() override {
    HeightFormTest::SetUp();
    ResetSettingsBlock(*settings);
    ASSERT_TRUE(WriteHeightFile(nah, *settings, *net));
  }
};

}  // namespace qp::testing
