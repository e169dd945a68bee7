// A plane input dialog with usable settings over a fresh record.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "plane/plane_input_form.h"
#include "plane/plane_input_reading.h"
#include "support/scripted_platform.h"

namespace qp::testing {

struct PlaneFormTest : ::testing::Test {
  std::unique_ptr<PlaneNetwork> net = std::make_unique<PlaneNetwork>();
  PlaneInputForm form;
  ScriptedPlatform platform;

  void SetUp() override {
    form = PlaneInputForm{};
    platform = ScriptedPlatform{};
    ResetPlaneNetwork(*net, "net.NAP");
    form.networkName = Gbk("测试网");
    form.directionError = "1.8";
    form.distanceFixedError = "3";
    form.distanceScaleError = "2";
    form.refraction = "0.14";
  }

  // Types UTF-8 text into a box, which holds GBK.
  void Type(PlaneTextBox box, const std::string& utf8) { form.boxes[box] = Utf8ToGbk(utf8); }

  // Reads the whole dialog; the message it gave in UTF-8, "" when accepted.
  std::string Read() {
    platform.messages.clear();
    const bool ok = ReadPlaneInput(form, *net, platform).accepted;
    EXPECT_EQ(ok, platform.messages.empty());
    EXPECT_LE(platform.messages.size(), 1u);
    return platform.LastMessageUtf8();
  }
};

}  // namespace qp::testing
