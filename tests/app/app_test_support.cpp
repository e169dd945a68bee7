#include "app_test_support.h"

#include <cstdlib>
#include <map>

#include "app/qt_text.h"
#include "cli/input_text.h"
#include "common/gbk_text.h"

namespace qp::testing {

void Choose(QComboBox* combo, int index) {
  combo->setCurrentIndex(index);
  emit combo->activated(index);
}

void Click(QPushButton* button) { button->click(); }

void FillFromInputFile(CQuorDisgnContrloPlane& dialog, const std::string& path) {
  std::string error;
  const auto doc = ReadInputFile(path, error);
  ASSERT_TRUE(doc) << GbkToUtf8(error);

  const std::map<std::string, std::string> boxes = {
      {"已知点", "knownPointsBox"},         {"概略坐标点", "approxPointsBox"},   {"精度端点", "precisionPairsBox"},
      {"已知高程点", "knownHeightsBox"},    {"方向观测值", "directionsBox"},     {"固定方位角", "fixedAzimuthsBox"},
      {"加权方位角", "weightedAzimuthsBox"}, {"边长观测值", "distanceLinesBox"}, {"固定边长", "fixedDistancesBox"},
      {"加权边长", "weightedDistancesBox"},
  };
  for (const auto& [section, name] : boxes) Child<QPlainTextEdit>(dialog, name.c_str())->clear();
  for (const InputSection& section : doc->sections) {
    const auto box = boxes.find(section.name);
    ASSERT_NE(box, boxes.end()) << section.name;
    Child<QPlainTextEdit>(dialog, box->second.c_str())->setPlainText(BoxTextFromGbk(section.body));
  }

  const std::map<std::string, std::string> combos = {
      {"解算方式", "calcModeCombo"},
      {"闭合差", "closureModeCombo"},
      {"竖直角观测方式", "verticalAngleKindCombo"},
      {"边长输入方式", "distanceOrderCombo"},
  };
  const std::map<std::string, std::string> edits = {
      {"控制网名", "networkNameEdit"},        {"验前中误差", "directionErrorEdit"},
      {"测距固定误差", "distanceFixedErrorEdit"}, {"测距比例误差", "distanceScaleErrorEdit"},
      {"Y坐标平移", "yOffsetEdit"},           {"投影面高程", "projectionHeightEdit"},
      {"折光系数", "refractionEdit"},
  };
  for (const InputSetting& setting : doc->settings) {
    if (const auto combo = combos.find(setting.key); combo != combos.end()) {
      Choose(Child<QComboBox>(dialog, combo->second.c_str()), std::atoi(setting.value.c_str()));
    } else if (const auto edit = edits.find(setting.key); edit != edits.end()) {
      Child<QLineEdit>(dialog, edit->second.c_str())->setText(FromGbk(setting.value));
    } else {
      ADD_FAILURE() << "unexpected setting " << setting.key;
    }
  }
}

void FillControlsFromInputFile(QWidget& dialog, const std::string& path,
                               const std::map<std::string, std::string>& controls) {
  std::string error;
  const auto doc = ReadInputFile(path, error);
  ASSERT_TRUE(doc) << GbkToUtf8(error);
  auto control = [&](const std::string& key) -> QWidget* {
    const auto found = controls.find(key);
    if (found == controls.end()) {
      ADD_FAILURE() << "no control for " << key;
      return nullptr;
    }
    return Child<QWidget>(dialog, found->second.c_str());
  };
  for (const InputSetting& setting : doc->settings) {
    QWidget* widget = control(setting.key);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
      edit->setText(FromGbk(setting.value));
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
      const QString value = FromGbk(setting.value);
      bool number = false;
      const int index = value.toInt(&number);
      combo->setCurrentIndex(number ? index : combo->findText(value));
      EXPECT_GE(combo->currentIndex(), 0) << setting.key;
    } else if (widget) {
      ADD_FAILURE() << setting.key << " is no edit or combo";
    }
  }
  for (const InputSection& section : doc->sections) {
    if (auto* box = qobject_cast<QPlainTextEdit*>(control(section.name))) {
      box->setPlainText(BoxTextFromGbk(section.body));
    }
  }
}

std::string BoxGbk(CQuorDisgnContrloPlane& dialog, const char* boxName) {
  return BoxTextToGbk(Child<QPlainTextEdit>(dialog, boxName)->toPlainText());
}

const std::map<std::string, std::string>& HeightDialogControls() {
  static const std::map<std::string, std::string> controls = {
      {"解算方式", "modeCombo"},         {"控制网名", "networkNameEdit"},  {"网形类别", "kindCombo"},
      {"验前误差", "priorErrorEdit"},    {"已知高程点", "knownHeightsBox"}, {"概略高程点", "approxHeightsBox"},
      {"精度端点", "pairsBox"},          {"高差观测值", "differencesBox"},  {"平面坐标点", "coordinatesBox"},
  };
  return controls;
}

void MainFrameTest::SetUp() {
  chosenPath = dir.File("测试网.NAP");
  frame = std::make_unique<CMainFrame>(doc, platform);
  frame->SetFileChooser([this](const FileRequest&) { return FromUtf8(chosenPath); });
  frame->show();
}

void MainFrameTest::TearDown() {
  // Leave without the exit question.
  frame->hide();
  frame.reset();
}

}  // namespace qp::testing
