// Every dialog on a laptop screen (the tests run on a 1280×720 screen): the
// buttons that confirm, cancel or leave lie inside the screen and are not
// scrolled away, whatever the dialog holds.
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>

#include "app/display_dialogs.h"
#include "app/exercise_dialog.h"
#include "app/height_input_dialog.h"
#include "app/independent_system_dialog.h"
#include "app/plane_input_dialog.h"
#include "app/report_viewer.h"
#include "app/sheet_dialog.h"
#include "app/system_transform_dialog.h"
#include "app/zone_transform_dialog.h"
#include "app_test_support.h"
#include "common/gbk_text.h"
#include "common/settings_block.h"
#include "exercise/exercise_file.h"
#include "height/height_model_record.h"
#include "plane/plane_model_record.h"

namespace qp::testing {
namespace {

const QRect kLaptop(0, 0, 1280, 720);

// The named buttons of a shown dialog: each one visible, inside the screen
// and inside the part of the dialog the user sees (not below a scroll area's
// edge).
void ExpectButtonsOnScreen(QWidget& dialog, std::initializer_list<const char*> buttons) {
  SCOPED_TRACE(dialog.objectName().toStdString());
  QApplication::processEvents();
  const QString shots = qEnvironmentVariable("QUORVEX_SCREENSHOT_DIR");
  if (!shots.isEmpty()) dialog.grab().save(shots + "/" + dialog.objectName() + ".png");
  ASSERT_TRUE(kLaptop.contains(dialog.frameGeometry())) << dialog.frameGeometry().width() << "x"
                                                        << dialog.frameGeometry().height();
  for (const char* name : buttons) {
    auto* button = Child<QPushButton>(dialog, name);
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->isVisible()) << name;
    const QRect onScreen(button->mapToGlobal(QPoint(0, 0)), button->size());
    EXPECT_TRUE(kLaptop.contains(onScreen)) << name;
    EXPECT_TRUE(dialog.rect().contains(QRect(button->mapTo(&dialog, QPoint(0, 0)), button->size()))) << name;
    // A button inside a scroll area could be scrolled out of sight.
    for (QWidget* p = button->parentWidget(); p && p != &dialog; p = p->parentWidget()) {
      EXPECT_EQ(qobject_cast<QScrollArea*>(p), nullptr) << name << " scrolls with the content";
    }
  }
}

TEST(ScreenFit, TheTestsRunOnALaptopScreen) {
  if (QGuiApplication::platformName() != QStringLiteral("offscreen")) GTEST_SKIP() << "a real screen";
  EXPECT_EQ(QGuiApplication::primaryScreen()->availableGeometry(), kLaptop);
}

TEST(ScreenFit, EveryDialogKeepsItsButtonsOnA1280x720Screen) {
  TempDir dir;
  ScriptedPlatform platform;
  auto plane = std::make_unique<PlaneNetwork>();
  ResetPlaneNetwork(*plane, Utf8ToGbk(dir.File("城区.NAP")));
  auto height = std::make_unique<HeightNetwork>();
  ResetHeightNetwork(*height, Utf8ToGbk(dir.File("水准.NAH")));
  SectionNumber section;
  const HeightReportTarget target{dir.File("水准.txt"), dir.File("水准.HTP"), section};
  auto block = std::make_unique<SettingsBlock>();
  ResetSettingsBlock(*block);
  const FileChooser noFile = [](const FileRequest&) { return QString(); };

  ExpectButtonsOnScreen(*ShowNew<CQuorDisgnContrloPlane>(*plane, dir.File("城区.PTP"), nullptr, platform),
                        {"okButton", "cancelButton"});
  ExpectButtonsOnScreen(*ShowNew<CQuorDesignControlHeight>(*height, target, platform),
                        {"okButton", "cancelButton"});
  ExpectButtonsOnScreen(*ShowNew<CQuorvexExciseFirst>(dir.File(kExerciseStateFileName), platform, noFile),
                        {"openButton", "saveButton", "exitButton"});
  for (const bool heightSheet : {false, true}) {
    ExpectButtonsOnScreen(*ShowNew<CQuorvexSheetDialog>(*block, heightSheet, platform), {"okButton", "cancelButton"});
  }
  PlaneModel planeModel = PlaneModelFromRecord(*plane);
  HeightModel heightModel = HeightModelFromRecord(*height);
  ExpectButtonsOnScreen(*ShowNew<CQuorvexDisplayPlane>(planeModel, 150.0f, platform), {"okButton", "cancelButton"});
  ExpectButtonsOnScreen(*ShowNew<CQuorvexDisplay>(heightModel, 150.0f, platform), {"okButton", "cancelButton"});
  for (auto* d : std::initializer_list<QDialog*>{new CQuorvexSystemTranslate(platform, noFile),
                                                 new CQuorvexGaussCount(platform, noFile),
                                                 new CQuorvexIndependant(platform, noFile)}) {
    std::unique_ptr<QDialog> owned(d);
    d->show();
    QList<QPushButton*> buttons = d->findChildren<QPushButton*>();
    ASSERT_FALSE(buttons.isEmpty());
    for (QPushButton* b : buttons) {
      if (b->text() == QStringLiteral("退出")) b->setObjectName(QStringLiteral("exitButton"));
    }
    ExpectButtonsOnScreen(*d, {"exitButton"});
  }
}

}  // namespace
}  // namespace qp::testing
