#include "app_test_support.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMimeData>
#include <QUrl>
#include <QtTest/QTest>
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

void ClickRow(QListWidget* list, int row) {
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

QStringList ItemsOf(QComboBox* combo) {
  QStringList items;
  for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
  return items;
}

QStringList Utf8Items(const std::vector<std::string>& gbk) {
  QStringList items;
  for (const std::string& item : gbk) items << FromGbk(item);
  return items;
}

QStringList Captions(QWidget& window) {
  QStringList captions;
  for (QLabel* label : window.findChildren<QLabel*>()) captions << label->text();
  for (QGroupBox* group : window.findChildren<QGroupBox*>()) captions << group->title();
  return captions;
}

void AddName(QWidget& dialog, const char* name) {
  Child<QLineEdit>(dialog, "newNameEdit")->setText(QString::fromUtf8(name));
  Click(Child<QPushButton>(dialog, "addNameButton"));
}

bool ConfirmOrLeave(QDialog& dialog, ScriptedPlatform& platform) {
  Click(Child<QPushButton>(dialog, "okButton"));
  if (!dialog.isVisible()) return true;
  ADD_FAILURE() << "confirmation refused: " << platform.LastMessageUtf8();
  platform.Answering({Answer::Yes});
  dialog.reject();
  return false;
}

void CancelAskingTwice(QDialog& dialog, ScriptedPlatform& platform) {
  platform.Answering({Answer::No});  // "请确认放弃 ..." No: the dialog stays
  dialog.reject();
  EXPECT_TRUE(dialog.isVisible());
  platform.Answering({Answer::Yes});
  Click(Child<QPushButton>(dialog, "cancelButton"));
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

void DropFile(QWidget& window, const std::string& path) {
  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(FromUtf8(path))});
  // A drop reaches the widget that accepted the drag's entry.
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&window, &enter);
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&window, &drop);
  QApplication::processEvents();
}

void FillControlsFromInputFile(QWidget& dialog, const std::string& path,
                               const std::map<std::string, std::string>& controls, ComboInput combos) {
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
      if (combos == ComboInput::Chosen) {
        Choose(combo, number ? index : combo->findText(value));
      } else {
        combo->setCurrentIndex(number ? index : combo->findText(value));
      }
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

void FillPlaneDialogFromInputFile(QWidget& dialog, const std::string& path) {
  for (const auto& [key, name] : PlaneDialogControls()) {
    if (auto* box = qobject_cast<QPlainTextEdit*>(Child<QWidget>(dialog, name.c_str()))) box->clear();
  }
  FillControlsFromInputFile(dialog, path, PlaneDialogControls(), ComboInput::Chosen);
}

std::string BoxGbk(QWidget& dialog, const char* boxName) {
  return BoxTextToGbk(Child<QPlainTextEdit>(dialog, boxName)->toPlainText());
}

const std::map<std::string, std::string>& PlaneDialogControls() {
  static const std::map<std::string, std::string> controls = {
      {"解算方式", "calcModeCombo"},          {"控制网名", "networkNameEdit"},
      {"验前中误差", "directionErrorEdit"},     {"测距固定误差", "distanceFixedErrorEdit"},
      {"测距比例误差", "distanceScaleErrorEdit"}, {"闭合差", "closureModeCombo"},
      {"Y坐标平移", "yOffsetEdit"},             {"投影面高程", "projectionHeightEdit"},
      {"折光系数", "refractionEdit"},           {"竖直角观测方式", "verticalAngleKindCombo"},
      {"边长输入方式", "distanceOrderCombo"},   {"已知点", "knownPointsBox"},
      {"概略坐标点", "approxPointsBox"},        {"精度端点", "precisionPairsBox"},
      {"已知高程点", "knownHeightsBox"},        {"方向观测值", "directionsBox"},
      {"固定方位角", "fixedAzimuthsBox"},       {"加权方位角", "weightedAzimuthsBox"},
      {"边长观测值", "distanceLinesBox"},       {"固定边长", "fixedDistancesBox"},
      {"加权边长", "weightedDistancesBox"},
  };
  return controls;
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
