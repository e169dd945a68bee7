// The drawing commands of the document, without any window: opening a
// drawing, the diagram kind, saving, closing with unsaved moves, the vector
// export, the settings dialogs' write-or-reread and fitting the sheet.
#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "workflow/quorvex_doc.h"
#include "cli/command_options.h"
#include "cli/draw_command.h"
#include "cli/height_command.h"
#include "cli/plane_command.h"
#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "workflow/diagram_preparation.h"
#include "drawing/drawing_export.h"
#include "workflow/drawing_files.h"
#include "height/height_file.h"
#include "plane/plane_file.h"
#include "plane/plane_input_form.h"
#include "plane/plane_model_record.h"
#include "support/scripted_platform.h"
#include "support/test_files.h"
#include "support/typed_example.h"

namespace qp::testing {
namespace {

struct PlaneFile {
  std::unique_ptr<SettingsBlock> settings = std::make_unique<SettingsBlock>();
  std::unique_ptr<PlaneNetwork> net = std::make_unique<PlaneNetwork>();
  explicit PlaneFile(const std::string& path) {
    EXPECT_TRUE(ReadWritePlaneFile(path, FileDirection::Read, *settings, *net)) << path;
  }
  void Write(const std::string& path) {
    EXPECT_TRUE(ReadWritePlaneFile(path, FileDirection::Write, *settings, *net)) << path;
  }
  int PointIndex(const char* utf8Name) const {
    for (int i = 0; i < net->pointCount; ++i)
      if (SlotText(net->pointName[i]) == Gbk(utf8Name)) return i;
    ADD_FAILURE() << utf8Name;
    return 0;
  }
};

struct HeightFile {
  std::unique_ptr<SettingsBlock> settings = std::make_unique<SettingsBlock>();
  std::unique_ptr<HeightNetwork> net = std::make_unique<HeightNetwork>();
  explicit HeightFile(const std::string& path) { EXPECT_TRUE(ReadHeightFile(path, *settings, *net)) << path; }
};

struct DrawingDocument : ::testing::Test {
  TempDir dir;
  ScriptedPlatform platform;
  CQuorvexPDoc doc{"/opt/quorvex/"};

  // The data file `name` computed by the command-line workflow from an example.
  std::string Computed(const char* name, const char* example) {
    CommandOptions options;
    options.dataPath = dir.File(name);
    options.inputPath = SourcePath(example);
    ScriptedPlatform cli;
    const bool plane = NetworkFileKindOf(options.dataPath) == NetworkFileKind::Plane;
    EXPECT_EQ(plane ? RunPlaneCommand(options, cli) : RunHeightCommand(options, cli), 0) << cli.LastMessageUtf8();
    return options.dataPath;
  }
};

TEST_F(DrawingDocument, OpeningAPlaneDrawingWarnsOfNearPairsAndAnUnreadableOneChangesNothing) {
  const std::string path = Computed("NET.NAP", "examples/plane/triangulation.txt");
  {
    // N3 50 m from 城北: their precision pair becomes a near pair.
    PlaneFile file(path);
    ASSERT_EQ(file.net->displayMode, 0);
    const int a = file.PointIndex("城北"), b = file.PointIndex("N3");
    file.net->x[b] = file.net->x[a] + 30;
    file.net->y[b] = file.net->y[a] + 40;
    file.Write(path);
  }
  const std::string stored = ReadBytes(path);

  const std::string damaged = dir.File("BAD.NAP");
  WriteBytes(damaged, std::string(kPlaneFileSize - 8, '\x01'));
  const uint64_t before = doc.DrawingGeneration();
  EXPECT_FALSE(doc.OpenDrawingFile(damaged, true, platform));
  EXPECT_EQ(platform.LastMessageUtf8(), "平面网数据文件错误 !");
  EXPECT_EQ(doc.State().workMode, kNothingOpen);
  EXPECT_TRUE(doc.CurrentDataPath().empty());
  EXPECT_EQ(doc.DrawingGeneration(), before);

  ASSERT_TRUE(doc.OpenDrawingFile(path, true, platform));
  EXPECT_EQ(doc.State().workMode, kPlaneDrawing);
  EXPECT_TRUE(doc.ShowsPlaneDrawing());
  EXPECT_EQ(doc.Title(), path);
  EXPECT_EQ(doc.CurrentDataPath(), path);
  // Nothing was computed: there is no report of this run to open.
  EXPECT_EQ(doc.CurrentReportPath(), "");
  EXPECT_NE(doc.DrawingGeneration(), before);
  // The warning: partial relative ellipses and the tone, in memory only.
  EXPECT_EQ(doc.CurrentDiagramKind(), 4);
  EXPECT_EQ(platform.beeps, 1);
  EXPECT_EQ(ReadBytes(path), stored);
  EXPECT_EQ(doc.DiagramItems().size(), 8u);

  // A drawing is not edited or reported; measuring needs confirmed settings.
  EXPECT_FALSE(doc.IsEnabled(kCmdPlaneDataEdit));
  EXPECT_FALSE(doc.IsEnabled(kCmdOpenReport));
  EXPECT_TRUE(doc.IsEnabled(kCmdMeasure));
  doc.Settings().settingsConfirmed = 0;
  EXPECT_FALSE(doc.IsEnabled(kCmdMeasure));
}

TEST_F(DrawingDocument, SavingWritesTheMovedItemsAndClosingAsksToSaveThemFirst) {
  const std::string path = Computed("L.NAH", "examples/height/levelling.txt");
  ASSERT_TRUE(doc.OpenDrawingFile(path, false, platform));
  EXPECT_EQ(doc.State().workMode, kHeightDrawing);

  // A name moved by the view, then "保存数据".
  doc.Height().labelOffsetX[0] = 2.5f;
  doc.MarkDrawingModified();
  platform.Answering({Answer::Yes});
  EXPECT_EQ(doc.SaveDrawing(platform), SaveResult::Saved);
  EXPECT_EQ(platform.QuestionsUtf8(), std::vector<std::string>{"请确认保存当前图形数据..."});
  EXPECT_FALSE(doc.State().drawingModified);
  EXPECT_EQ(HeightFile(path).net->labelOffsetX[0], 2.5f);

  struct Case {
    const char* what;
    bool moved;
    Answer answer;
    float inFile;
  } cases[] = {
      {"moved, saved", true, Answer::Yes, -1.0f},
      {"moved, not saved", true, Answer::No, -1.0f},
      {"nothing moved", false, Answer::Yes, -1.0f},
  };
  float offset = -1.0f;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (doc.State().workMode == kNothingOpen) {
      ASSERT_TRUE(doc.OpenDrawingFile(path, false, platform));
    }
    if (c.moved) {
      doc.Height().labelOffsetX[0] = offset;
      doc.MarkDrawingModified();
    }
    offset -= 1.0f;
    platform.questions.clear();
    platform.Answering({c.answer});
    const uint64_t before = doc.DrawingGeneration();
    doc.CloseNetwork(platform);
    EXPECT_EQ(platform.QuestionsUtf8(),
              c.moved ? std::vector<std::string>{"请确认保存当前图形数据..."} : std::vector<std::string>{});
    platform.answers.clear();
    EXPECT_EQ(HeightFile(path).net->labelOffsetX[0], c.inFile);
    EXPECT_EQ(doc.State().workMode, kNothingOpen);
    EXPECT_FALSE(doc.State().drawingModified);
    EXPECT_EQ(doc.Title(), kUntitledTitle);
    EXPECT_NE(doc.DrawingGeneration(), before);
  }
}

// Texts on the sheet of the open network, the movable items listed.
struct ItemsOnly : EntitySink {
  void Shape(const EntityHeader&, const ShapeBlock&, std::span<const GroundPoint>) override {}
  void Text(const EntityHeader&, const TextBlock&) override {}
};

TEST_F(DrawingDocument, TheDrawnNetworkFollowsMovesAndRecordsReadBack) {
  struct Case {
    const char* name;
    const char* example;
    MovableKind kind;
  } cases[] = {
      {"NET.NAP", "examples/plane/triangulation.txt", MovableKind::PlaneName},
      {"L.NAH", "examples/height/levelling.txt", MovableKind::HeightName},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = Computed(c.name, c.example);
    const bool plane = c.kind == MovableKind::PlaneName;
    ASSERT_TRUE(doc.OpenDrawingFile(path, plane, platform));
    const auto firstName = [&] {
      ItemsOnly sink;
      MovableItemList items;
      EXPECT_TRUE(doc.DrawSheet(sink, doc.Settings(), plane, DrawContext{}, &items));
      for (const MovableItem& item : items.Items())
        if (item.kind == c.kind && item.index == 0) return item;
      ADD_FAILURE() << "no name";
      return MovableItem{};
    };
    const double m = doc.Settings().scale * 0.001;
    const MovableItem name = firstName();
    // Moved 2 mm north: the record holds it at once, and the sheet shows it.
    const auto stored = doc.StoreMovedItem(plane, name, {name.reference.x + 2 * m, name.reference.y}, m);
    ASSERT_TRUE(stored);
    EXPECT_FLOAT_EQ(static_cast<float>(stored->x), 2.0f);
    EXPECT_FLOAT_EQ(plane ? doc.Plane().labelOffsetX[0] : doc.Height().labelOffsetX[0], 2.0f);
    EXPECT_NEAR(firstName().reference.x, name.reference.x + 2 * m, 1e-9);
    // A cancelled sheet dialog reads the data file back: the move is gone from the sheet too.
    doc.State().drawingModified = false;
    EXPECT_TRUE(doc.EditSheetSettings(platform, [](SettingsBlock&, bool) { return false; }));
    EXPECT_NEAR(firstName().reference.x, name.reference.x, 1e-9);
    doc.CloseNetwork(platform);
  }
}

TEST_F(DrawingDocument, TheSelectedKindIsWhatTheExportWritesAsTheCommandLineDrawsIt) {
  struct Case {
    const char* name;
    const char* example;
    int kind;
    const char* done;
  } cases[] = {
      {"NET.NAP", "examples/plane/triangulation.txt", 3, "平面图形导出完成...\r\n"},
      {"L.NAH", "examples/height/levelling.txt", 2, "高程图形导出完成...\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = Computed(c.name, c.example);
    const std::string stored = ReadBytes(path);
    const bool plane = NetworkFileKindOf(path) == NetworkFileKind::Plane;
    ASSERT_TRUE(doc.OpenDrawingFile(path, plane, platform));
    ASSERT_EQ(doc.CurrentDiagramKind(), 0);

    uint64_t generation = doc.DrawingGeneration();
    doc.SelectDiagramKind(c.kind);
    EXPECT_EQ(doc.CurrentDiagramKind(), c.kind);
    EXPECT_EQ(plane ? doc.Plane().displayMode : doc.Height().diagramKind, c.kind);
    EXPECT_NE(doc.DrawingGeneration(), generation);
    generation = doc.DrawingGeneration();
    doc.SelectDiagramKind(static_cast<int>(doc.DiagramItems().size()));  // not listed
    EXPECT_EQ(doc.CurrentDiagramKind(), c.kind);
    EXPECT_EQ(doc.DrawingGeneration(), generation);
    EXPECT_EQ(ReadBytes(path), stored);  // chosen in memory only

    ASSERT_TRUE(doc.ExportDrawing(platform));
    const std::string vec = VecPathFor(path);
    EXPECT_EQ(platform.LastMessageUtf8(), c.done + vec);
    const std::string exported = ReadBytes(vec);
    EXPECT_GT(exported.size(), sizeof(SettingsBlock));

    ScriptedPlatform cli;
    CommandOptions draw;
    draw.dataPath = path;
    draw.kind = 0;
    ASSERT_EQ(RunDrawCommand(draw, cli), 0);
    EXPECT_NE(ReadBytes(vec), exported);
    draw.kind = c.kind;
    ASSERT_EQ(RunDrawCommand(draw, cli), 0);
    EXPECT_EQ(ReadBytes(vec), exported);
    doc.CloseNetwork(platform);
  }

  // Nothing open: nothing to export, and a sheet that cannot be written is said.
  EXPECT_FALSE(doc.ExportDrawing(platform));
  const std::string path = Computed("NET.NAP", "examples/plane/triangulation.txt");
  ASSERT_TRUE(doc.OpenDrawingFile(path, true, platform));
  std::filesystem::remove(VecPathFor(path));
  std::filesystem::create_directory(VecPathFor(path));  // a folder where the file goes
  EXPECT_FALSE(doc.ExportDrawing(platform));
  EXPECT_EQ(platform.LastMessageUtf8(), "矢量图形文件写入错误 !\r\n" + VecPathFor(path));
}

TEST_F(DrawingDocument, SettingsDialogsWriteTheFileWhenConfirmedAndReadItBackWhenCancelled) {
  const std::string path = Computed("NET.NAP", "examples/plane/triangulation.txt");
  ASSERT_TRUE(doc.OpenDrawingFile(path, true, platform));
  const double scale = doc.Settings().scale;
  const double cornerX = doc.Settings().cornerX;

  // Cancelled: whatever the dialog left behind, the file's settings return.
  bool heightMode = true;
  EXPECT_TRUE(doc.EditSheetSettings(platform, [&](SettingsBlock& s, bool height) {
    heightMode = height;
    s.scale = 777;
    return false;
  }));
  EXPECT_FALSE(heightMode);
  EXPECT_EQ(doc.Settings().scale, scale);

  // Confirmed: into the data file.
  EXPECT_TRUE(doc.EditSheetSettings(platform, [](SettingsBlock& s, bool) {
    s.cornerX += 100;
    return true;
  }));
  EXPECT_EQ(PlaneFile(path).settings->cornerX, cornerX + 100);
  EXPECT_TRUE(doc.EditPlaneDisplay(platform, [](PlaneModel& m) {
    m.diagram.kind = 5;
    return true;
  }));
  EXPECT_EQ(PlaneFile(path).net->displayMode, 5);
  EXPECT_EQ(doc.CurrentDiagramKind(), 5);

  // A text moved and not yet saved survives a cancelled dialog; a confirmed
  // one writes it with the settings.
  doc.Plane().labelOffsetY[1] = 3.0f;
  doc.MarkDrawingModified();
  EXPECT_FALSE(doc.EditPlaneDisplay(platform, [](PlaneModel& m) {
    m.diagram.kind = 2;
    return false;
  }));
  EXPECT_EQ(doc.CurrentDiagramKind(), 5);
  EXPECT_EQ(doc.Plane().labelOffsetY[1], 3.0f);
  EXPECT_TRUE(doc.State().drawingModified);
  EXPECT_TRUE(doc.EditSheetSettings(platform, [](SettingsBlock&, bool) { return true; }));
  EXPECT_FALSE(doc.State().drawingModified);
  EXPECT_EQ(PlaneFile(path).net->labelOffsetY[1], 3.0f);
  EXPECT_TRUE(platform.messages.empty()) << platform.LastMessageUtf8();

  // "边框匹配": the sheet fitted at its scale, the canvas taken over; the fit
  // is drawing data to be saved.
  auto expected = std::make_unique<SettingsBlock>(doc.Settings());
  ASSERT_TRUE(FitSheetToNetwork(*expected, PlaneModelFromRecord(doc.Plane()), false));
  const uint64_t generation = doc.DrawingGeneration();
  EXPECT_TRUE(doc.FitSheet(platform));
  EXPECT_EQ(doc.Settings().canvasHeightPx, expected->canvasHeightPx);
  EXPECT_EQ(doc.Settings().canvasWidthPx, expected->canvasWidthPx);
  EXPECT_EQ(doc.Settings().scale, scale);
  EXPECT_TRUE(doc.State().drawingModified);
  EXPECT_NE(doc.DrawingGeneration(), generation);
}

// The diagram title in the sheet's slot 12 of every file a desktop session
// writes, the view painting the sheet after every command as the window does.
TEST_F(DrawingDocument, EverySavedSheetCarriesTheTitleOfTheDiagramShownBeforeIt) {
  const std::string planePath = dir.File("NET.NAP");
  const std::string heightPath = Computed("L.NAH", "examples/height/levelling.txt");
  const auto titleIn = [](const std::string& path) {
    const std::string bytes = ReadBytes(path);
    const size_t at = offsetof(SettingsBlock, sheetTexts) + kDiagramTitleSlot * 65;
    if (bytes.size() < at + 65) return std::string("(no block)");
    const std::string slot = bytes.substr(at, 65);
    return GbkToUtf8(slot.substr(0, slot.find('\0')));
  };
  const auto compute = [&](const char* example, int calcMode) {
    return doc.EditPlane(platform, [&](PlaneNetwork& net, const PlaneDialogTarget& target) {
      PlaneInputForm form;
      InitializePlaneForm(form, net, target.draftPath);
      SelectPlaneCalcMode(form, net, calcMode);
      TypeExample(form, example);
      return RunPlaneConfirmation(form, net, platform, target.draftPath, target.steps).accepted;
    });
  };
  const auto save = [&] {
    platform.Answering({Answer::Yes});
    EXPECT_EQ(doc.SaveDrawing(platform), SaveResult::Saved);
  };
  const auto moveAText = [&] {
    if (doc.ShowsPlaneDrawing()) doc.Plane().labelOffsetY[1] += 2.0f;
    else doc.Height().labelOffsetX[0] += 2.0f;
    doc.MarkDrawingModified();
  };
  const auto display = [&](int kind) {
    if (doc.ShowsPlaneDrawing()) {
      EXPECT_TRUE(doc.EditPlaneDisplay(platform, [kind](PlaneModel& m) { return m.diagram.kind = kind, true; }));
    } else {
      EXPECT_TRUE(doc.EditHeightDisplay(platform, [kind](HeightModel& m) { return m.diagram.kind = kind, true; }));
    }
  };
  const auto arrange = [&] {
    platform.Answering({Answer::Yes});
    EXPECT_TRUE(doc.ArrangeLabels(platform, nullptr));
  };
  struct Step {
    const char* what;
    std::function<void()> act;
    bool vec;           // the title read from the .vec file, else from the data file
    const char* title;  // UTF-8
  } steps[] = {
      {"new plane data file", [&] { platform.Answering({Answer::Yes}), doc.OpenDataFile(planePath, true, platform); },
       false, ""},
      {"computed, written by the computation", [&] { compute("triangulation.txt", 1); }, false, ""},
      {"saved", save, false, "平差计算:控制网图"},
      {"kind 3", [&] { doc.SelectDiagramKind(3); }, false, "平差计算:控制网图"},
      {"saved", save, false, "平差计算:绝对相对误差椭圆(1:2.00)"},
      {"estimated from a design, written", [&] { compute("design_estimate.txt", 0); }, false, "平差计算:绝对相对误差椭圆(1:2.00)"},
      {"saved after the new results", save, false, "精度估算:绝对相对误差椭圆(1:5.00)"},
      {"a text moved", moveAText, false, "精度估算:绝对相对误差椭圆(1:5.00)"},
      {"saved", save, false, "精度估算:绝对相对误差椭圆(1:5.00)"},
      {"display settings: kind 5", [&] { display(5); }, false, "精度估算:绝对相对误差椭圆(1:5.00)"},
      {"exported", [&] { doc.ExportDrawing(platform); }, true, "精度估算:角度边长观测值"},
      {"arranged, kept", arrange, false, "精度估算:角度边长观测值"},
      {"sheet settings confirmed", [&] { doc.EditSheetSettings(platform, [](SettingsBlock&, bool) { return true; }); },
       false, "精度估算:角度边长观测值"},
      {"closed", [&] { doc.CloseNetwork(platform); }, false, "精度估算:角度边长观测值"},
      {"the drawing opened", [&] { doc.OpenDrawingFile(planePath, true, platform); }, false, "精度估算:角度边长观测值"},
      {"kind 1", [&] { doc.SelectDiagramKind(1); }, false, "精度估算:角度边长观测值"},
      {"a text moved", moveAText, false, "精度估算:角度边长观测值"},
      {"closed, the move saved", [&] { platform.Answering({Answer::Yes}), doc.CloseNetwork(platform); },
       false, "精度估算:点位误差椭圆(1:5.00)"},
      {"height drawing", [&] { doc.OpenDrawingFile(heightPath, false, platform); }, false, ""},
      {"kind 2", [&] { doc.SelectDiagramKind(2); }, false, ""},
      {"saved", save, false, "平差计算:高差平差值误差[Mo=0.98]"},
      {"display settings: kind 3", [&] { display(3); }, false, "平差计算:高差平差值误差[Mo=0.98]"},
      {"a text moved", moveAText, false, "平差计算:高差平差值误差[Mo=0.98]"},
      {"saved", save, false, "平差计算:高差平差值[Mo=0.98]"},
      {"kind 0", [&] { doc.SelectDiagramKind(0); }, false, "平差计算:高差平差值[Mo=0.98]"},
      {"exported", [&] { doc.ExportDrawing(platform); }, true, "平差计算:高程控制网网图"},
      {"arranged, kept", arrange, false, "平差计算:高程控制网网图"},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.act();
    // The view paints what the document shows.
    if (doc.State().ShowsDrawing()) {
      ItemsOnly sink;
      doc.DrawSheet(sink, doc.Settings(), doc.ShowsPlaneDrawing(), DrawContext{});
    }
    const std::string& data = doc.State().workMode == kNothingOpen ? planePath : doc.State().dataPath;
    EXPECT_EQ(titleIn(step.vec ? VecPathFor(data) : data), step.title);
  }
}

}  // namespace
}  // namespace qp::testing
