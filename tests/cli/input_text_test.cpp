#include "cli/input_text.h"

#include <gtest/gtest.h>

#include "common/gbk_text.h"

namespace qp {
namespace {

struct Dialog {
  int mode = 1;
  std::string name = "old";
  std::string known = "stale";
  std::string dirs = "stale";
  std::vector<SettingBinding> Settings() {
    static const std::vector<std::string> items = {Gbk("零"), Gbk("一"), Gbk("二")};
    return {ComboSetting("方式", items, &mode), TextSetting("名称", &name)};
  }
  std::vector<SectionBinding> Sections() { return {{"已知点", &known}, {"方向", &dirs}}; }
};

bool Apply(const std::string& text, Dialog& d, std::string& error) {
  auto doc = ParseInputText(text, error);
  return doc && ApplyInputDocument(*doc, d.Settings(), d.Sections(), error);
}

TEST(InputText, SectionsAreTextBoxesWithCrLfLines) {
  Dialog d;
  std::string error;
  ASSERT_TRUE(Apply("\xEF\xBB\xBF# note\n[设置]\n# comment\n\n名称 = 网 A \n方式=二\n[已知点]\nA,1,2\r\nB,3,4\n", d, error))
      << GbkToUtf8(error);
  EXPECT_EQ(d.mode, 2);
  EXPECT_EQ(d.name, Gbk("网 A"));
  EXPECT_EQ(d.known, "A,1,2\r\nB,3,4\r\n");
  EXPECT_EQ(d.dirs, "");  // a missing section empties its box
}

TEST(InputText, MissingSettingKeepsTheDialogValue) {
  Dialog d;
  std::string error;
  ASSERT_TRUE(Apply("[方向]\nA,B,0\n", d, error));
  EXPECT_EQ(d.mode, 1);
  EXPECT_EQ(d.name, "old");
}

TEST(InputText, GbkFilesAreAccepted) {
  Dialog d;
  std::string error;
  ASSERT_TRUE(Apply(Utf8ToGbk("[设置]\n名称 = 城区网\n[已知点]\n北山,1,2\n"), d, error));
  EXPECT_EQ(d.name, Gbk("城区网"));
  EXPECT_EQ(d.known, Gbk("北山,1,2") + "\r\n");
}

TEST(InputText, ErrorsNameTheirLine) {
  const std::pair<std::string, std::string> cases[] = {
      {"[设置]\n\n未知 = 1\n", "输入文件第3行: 未知的设置项[未知]"},
      {"[设置]\n方式 = 3\n", "输入文件第2行: 设置项[方式]的值[3]不正确"},
      {"[设置]\n方式 = -1\n", "输入文件第2行: 设置项[方式]的值[-1]不正确"},
      {"[设置]\n名称\n", "输入文件第2行: 设置行应为: 名称 = 值"},
      {"A,1,2\n", "输入文件第1行: 内容不在任何节内"},
      {"[已知点]\n[其它]\nx\n", "输入文件第2行: 未知的节[其它]"},
      {"[已知点]\nA\n[已知点]\n", "输入文件第3行: 节[已知点]重复"},
  };
  for (const auto& [text, message] : cases) {
    Dialog d;
    std::string error;
    EXPECT_FALSE(Apply(text, d, error)) << text;
    EXPECT_EQ(GbkToUtf8(error), message) << text;
    EXPECT_EQ(d.known, "stale") << "a rejected file changes nothing: " << text;
  }
}

// A message quotes at most 40 characters of a key, a section name or a value:
// an input of megabytes gives a message of one line.
TEST(InputText, ErrorsQuoteLongTextsCut) {
  std::string han;
  for (int i = 0; i < 1 << 20; ++i) han += "汉";
  std::string cut40;
  for (int i = 0; i < 40; ++i) cut40 += "汉";
  const std::pair<std::string, std::string> cases[] = {
      {"[设置]\n方式 = " + han + "\n", "输入文件第2行: 设置项[方式]的值[" + cut40 + "…]不正确"},
      {"[设置]\n" + han + " = 1\n", "输入文件第2行: 未知的设置项[" + cut40 + "…]"},
      {"[" + han + "]\n", "输入文件第1行: 未知的节[" + cut40 + "…]"},
      {"[设置]\n方式 = " + std::string(8 << 20, '7') + "\n",
       "输入文件第2行: 设置项[方式]的值[" + std::string(40, '7') + "…]不正确"},
  };
  for (const auto& [text, message] : cases) {
    Dialog d;
    std::string error;
    EXPECT_FALSE(Apply(text, d, error));
    EXPECT_EQ(GbkToUtf8(error), message);
  }
}

TEST(InputText, NumberedComboTakesItsNumbersOrItsTexts) {
  int index = -1;
  const SettingBinding counts = NumberedComboSetting("个数", {Gbk("一个"), Gbk("两个"), Gbk("三个")}, 1, 2, &index);
  EXPECT_TRUE(counts.apply("2"));
  EXPECT_EQ(index, 1);
  EXPECT_TRUE(counts.apply(Gbk("三个")));
  EXPECT_EQ(index, 2);
  EXPECT_TRUE(counts.apply("03"));
  EXPECT_EQ(index, 2);
  // Numbers below the first, past the last or longer than two digits are refused.
  for (const std::string value : {"0", "4", "003", "", "-1", "1.0", " 1"}) {
    index = -1;
    EXPECT_FALSE(counts.apply(value)) << value;
    EXPECT_EQ(index, -1) << value;
  }
}

// What a control shows is what a dump writes: combos by index (numbered
// combos by number) whichever form set them, check boxes as 0 or 1, texts in UTF-8.
TEST(InputText, BindingsShowTheValueTheyTook) {
  int combo = 0;
  int numbered = 0;
  bool checked = false;
  std::string text;
  const std::vector<std::string> items = {Gbk("零"), Gbk("一"), Gbk("二")};
  const SettingBinding bindings[] = {ComboSetting("方式", items, &combo),
                                     NumberedComboSetting("个数", items, 1, 2, &numbered), CheckSetting("显示", &checked),
                                     TextSetting("名称", &text)};
  const struct {
    size_t binding;
    std::string value;
    std::string shown;
  } cases[] = {
      {0, Gbk("二"), "2"}, {0, "1", "1"}, {1, Gbk("零"), "1"}, {1, "03", "3"},
      {2, "1", "1"},       {2, "0", "0"}, {3, Gbk("城区网"), "城区网"}, {3, "", ""},
  };
  for (const auto& c : cases) {
    const SettingBinding& b = bindings[c.binding];
    ASSERT_TRUE(b.apply(c.value)) << b.key << " " << c.shown;
    EXPECT_EQ(b.show(), c.shown) << b.key;
  }
}

TEST(InputText, BinaryGarbageIsRefusedCleanly) {
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage.push_back(static_cast<char>((i * 131 + 7) & 0xFF));
  std::string error;
  EXPECT_FALSE(ParseInputText(garbage, error));
  EXPECT_FALSE(error.empty());
}

TEST(InputText, DumpReadsBackToTheSameDialog) {
  Dialog d;
  d.mode = 2;
  d.name = Gbk("城区网");
  d.known = Gbk("北山,1.0000,2.0000") + "\r\nB,3,4\r\n";
  d.dirs = "";
  const std::string text = DumpInputText(d.Settings(), d.Sections());
  EXPECT_EQ(text, "[设置]\n方式 = 2\n名称 = 城区网\n\n[已知点]\n北山,1.0000,2.0000\nB,3,4\n\n[方向]\n");
  Dialog back;
  std::string error;
  ASSERT_TRUE(Apply(text, back, error));
  EXPECT_EQ(back.mode, 2);
  EXPECT_EQ(back.name, d.name);
  EXPECT_EQ(back.known, d.known);
  EXPECT_EQ(back.dirs, "");
}

}  // namespace
}  // namespace qp
