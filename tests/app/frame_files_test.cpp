// The main window's saving and closing as a user drives them: the picture
// written in the type chosen in the save dialog, the overwrite question about
// that file, closing and leaving with moves not yet saved, a drawing kept in
// the recent-file list, and the status bar after a close.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QAbstractItemView>
#include <QFontMetrics>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>

#include "app/app_test_support.h"
#include "app/qt_platform.h"
#include "app/qt_text.h"
#include "app/quorvex_view.h"
#include "app/recent_files.h"
#include "cli/plane_command.h"
#include "common/gbk_text.h"

namespace qp::testing {
namespace {

struct FrameFiles : MainFrameTest {
  std::string drawingPath;

  void SetUp() override {
    while (!RecentFiles().isEmpty()) RemoveRecentFile(RecentFiles().front());
    MainFrameTest::SetUp();
    CommandOptions options;
    options.dataPath = drawingPath = dir.File("TRI.NAP");
    options.inputPath = SourcePath("examples/plane/triangulation.txt");
    ScriptedPlatform quiet;
    ASSERT_EQ(RunPlaneCommand(options, quiet), 0);
    chosenPath = drawingPath;
    frame->resize(1280, 720);
    frame->RunCommand(kCmdPlaneDrawingFile);
    ASSERT_EQ(doc.State().workMode, kPlaneDrawing);
    frame->View()->viewport()->repaint();
  }

  // The save dialog of "另存为图片...": the file type chosen from its list,
  // `typed` typed as the name and "保存" clicked; `inside` runs while the
  // dialog shows (before the name is typed).
  void SavePictureTyping(int typeIndex, const QString& typed, const std::function<void(QFileDialog&)>& inside = {}) {
    frame->SetFileChooser(FileDialogChooser(frame.get()));
    const auto shown = WhenModalShows<QFileDialog>([&](QFileDialog& d) {
      if (inside) inside(d);
      Choose(Child<QComboBox>(d, "fileTypeCombo"), typeIndex);
      auto* name = Child<QLineEdit>(d, "fileNameEdit");
      name->clear();
      // Offscreen, the folder list keeps the folder itself selected, which a
      // typed name does not override.
      Child<QAbstractItemView>(d, "listView")->clearSelection();
      QTest::keyClicks(name, typed);
      // "保存" of the dialog's button box.
      for (QAbstractButton* b : Child<QDialogButtonBox>(d, "buttonBox")->buttons()) {
        if (Child<QDialogButtonBox>(d, "buttonBox")->buttonRole(b) == QDialogButtonBox::AcceptRole) QTest::mouseClick(b, Qt::LeftButton);
      }
      if (d.isVisible()) d.reject();  // left open by a declined overwrite
    });
    frame->RunCommand(kCmdSavePicture);
    EXPECT_TRUE(*shown);
  }

  QString InDir(const char* name) const { return FromUtf8(dir.File(name)); }
};

TEST_F(FrameFiles, PictureTakesTheChosenTypeUnlessOneIsTyped) {
  struct Case {
    int type;  // 0 PDF, 1 PNG, 2 SVG, 3 DXF
    const char* typed;
    const char* written;
    const char* notWritten;
  };
  const Case cases[] = {
      {1, "tri_png", "tri_png.png", "tri_png.pdf"},
      {3, "tri_dxf", "tri_dxf.dxf", "tri_dxf.pdf"},
      {2, "typed.png", "typed.png", "typed.png.svg"},  // a typed kind wins
      {0, "dotted.v2", "dotted.v2.pdf", "dotted.v2"},  // an unknown ending is a part of the name
  };
  for (const Case& c : cases) {
    SavePictureTyping(c.type, QString::fromUtf8(c.typed));
    EXPECT_TRUE(QFileInfo(InDir(c.written)).size() > 0) << c.written;
    EXPECT_FALSE(QFileInfo::exists(InDir(c.notWritten))) << c.notWritten;
  }
  EXPECT_TRUE(platform.messages.empty()) << platform.LastMessageUtf8();
}

TEST_F(FrameFiles, SaveDialogSuggestsTheNetworkAndAsksAboutTheFileWritten) {
  WriteBytes(dir.File("old.dxf"), "kept");
  WriteBytes(dir.File("old.pdf"), "kept");
  QString suggested;
  QString question;
  SavePictureTyping(3, QStringLiteral("old"), [&](QFileDialog& d) {
    suggested = Child<QLineEdit>(d, "fileNameEdit")->text();
    // The overwrite question is answered 否: the dialog stays for another name.
    WhenModalShows<QMessageBox>([&](QMessageBox& box) {
      question = box.text();
      box.button(QMessageBox::No)->click();
    });
  });
  EXPECT_EQ(suggested, QStringLiteral("TRI.pdf"));
  EXPECT_TRUE(question.contains(QStringLiteral("old.dxf"))) << question.toStdString();
  EXPECT_EQ(ReadBytes(dir.File("old.dxf")), "kept");
  EXPECT_EQ(ReadBytes(dir.File("old.pdf")), "kept");
}

TEST_F(FrameFiles, UnsavedMovesOfferCancelOnCloseAndExit) {
  const std::string stored = ReadBytes(drawingPath);
  struct Case {
    const char* what;
    int command;
    std::vector<Answer> answers;
    bool staysOpen;
  };
  const Case cases[] = {
      {"close, 取消", kCmdCloseDocument, {Answer::Cancel}, true},
      {"exit confirmed, 取消", kCmdExit, {Answer::Yes, Answer::Cancel}, true},
      {"close, 不保存", kCmdCloseDocument, {Answer::No}, false},
  };
  for (const Case& c : cases) {
    if (doc.State().workMode == kNothingOpen) frame->RunCommand(kCmdPlaneDrawingFile);
    doc.State().drawingModified = true;
    platform.questions.clear();
    platform.questionButtons.clear();
    for (Answer a : c.answers) platform.Answering({a});
    frame->RunCommand(c.command);
    EXPECT_EQ(doc.State().workMode != kNothingOpen, c.staysOpen) << c.what;
    EXPECT_EQ(doc.State().drawingModified, c.staysOpen) << c.what;
    EXPECT_TRUE(frame->isVisible()) << c.what;
    ASSERT_FALSE(platform.questionButtons.empty()) << c.what;
    EXPECT_EQ(platform.questionButtons.back(), Buttons::SaveDiscardCancel) << c.what;
    EXPECT_EQ(platform.QuestionsUtf8().back(), "请确认保存当前图形数据...") << c.what;
    EXPECT_EQ(platform.QuestionsUtf8().size(), c.answers.size()) << c.what;
    EXPECT_EQ(ReadBytes(drawingPath), stored) << c.what;
  }

  // 保存 writes the drawing data and closes.
  frame->RunCommand(kCmdPlaneDrawingFile);
  doc.State().drawingModified = true;
  platform.questions.clear();
  platform.Answering({Answer::Yes});
  frame->RunCommand(kCmdCloseDocument);
  EXPECT_EQ(doc.State().workMode, kNothingOpen);
  EXPECT_EQ(platform.LastMessageUtf8(), drawingPath);
  // The save chosen in the three-way question is not asked for again.
  EXPECT_EQ(platform.QuestionsUtf8().size(), 1u);
}

TEST_F(FrameFiles, DrawingReopensFromTheRecentListAndItsCursorLeavesWithIt) {
  ASSERT_FALSE(RecentFiles().isEmpty());
  EXPECT_EQ(QFileInfo(RecentFiles().front()), QFileInfo(FromUtf8(drawingPath)));
  EXPECT_EQ(RecentFileKind(RecentFiles().front()), RecentKind::Drawing);

  QWidget* viewport = frame->View()->viewport();
  QTest::mouseMove(viewport, viewport->rect().center());
  const QString cursor = frame->StatusPane(2)->text();
  EXPECT_FALSE(cursor.isEmpty());
  frame->RunCommand(kCmdCloseDocument);
  for (int pane : {1, 2, 3}) EXPECT_TRUE(frame->StatusPane(pane)->text().isEmpty()) << pane;

  // Reopened as a drawing: no input dialog, nothing recomputed.
  frame->OpenRecentFile(0);
  EXPECT_EQ(doc.State().workMode, kPlaneDrawing);
}

TEST(MessageBoxes, ShowTheWholeTitleAndTheSaveQuestionsButtons) {
  struct Case {
    const char* what;
    std::function<Answer(QtPlatform&)> show;
    QMessageBox::StandardButton clicked;
    Answer answer;
    QStringList captions;
  };
  const Case cases[] = {
      {"message", [](QtPlatform& p) { p.ShowMessage(Gbk("平面网数据文件错误 !")); return Answer::Ok; }, QMessageBox::Ok,
       Answer::Ok, {QStringLiteral("确定")}},
      {"yes/no", [](QtPlatform& p) { return p.Ask(Gbk(" 请确认退出..."), Buttons::YesNo, Answer::No); },
       QMessageBox::No, Answer::No, {QStringLiteral("是(&Y)"), QStringLiteral("否(&N)")}},
      {"save/discard/cancel",
       [](QtPlatform& p) { return p.Ask(Gbk("请确认保存当前图形数据..."), Buttons::SaveDiscardCancel, Answer::Yes); },
       QMessageBox::Cancel, Answer::Cancel,
       {QStringLiteral("保存(&S)"), QStringLiteral("不保存(&N)"), QStringLiteral("取消")}},
  };
  for (const Case& c : cases) {
    QtPlatform platform;
    int width = 0, titleWidth = 0;
    QStringList captions;
    const auto shown = WhenModalShows<QMessageBox>([&](QMessageBox& box) {
      QFont bold = QApplication::font();
      bold.setBold(true);
      titleWidth = QFontMetrics(bold).horizontalAdvance(box.windowTitle());
      width = box.width();
      for (QAbstractButton* b : box.buttons()) captions << b->text();
      box.button(c.clicked)->click();
    });
    EXPECT_EQ(c.show(platform), c.answer) << c.what;
    ASSERT_TRUE(*shown) << c.what;
    // Room beside the caption for a title bar's icon and buttons.
    EXPECT_GE(width, titleWidth + 120) << c.what;
    for (const QString& caption : c.captions) EXPECT_TRUE(captions.contains(caption)) << c.what;
    EXPECT_EQ(captions.size(), c.captions.size()) << c.what;
  }
}

}  // namespace
}  // namespace qp::testing
