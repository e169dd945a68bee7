// A plane input dialog filled with usable settings over a fresh record, and
// helpers to type UTF-8 text into its boxes.
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
    form.calcMode = kReducedObservations;
    form.networkName = Gbk("测试网");
    form.directionError = "1.8";
    form.distanceFixedError = "3";
    form.distanceScaleError = "2";
    form.refraction = "0.14";
    form.yOffset = "500000";
    form.projectionHeight = "0";
  }

  // Types UTF-8 text into a box (stored as GBK, as the dialog holds it).
  void Type(PlaneTextBox box, const std::string& utf8) { form.boxes[box] = Utf8ToGbk(utf8); }

  bool Read() { return ReadPlaneInput(form, *net, platform); }

  // The only message shown so far, in UTF-8 ("" when none).
  std::string Message() const {
    EXPECT_LE(platform.messages.size(), 1u);
    return platform.LastMessageUtf8();
  }

  static std::string Utf8(std::string_view gbkSlot) { return GbkToUtf8(gbkSlot); }
};

}  // namespace qp::testing
