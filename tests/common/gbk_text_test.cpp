#include "common/gbk_text.h"

#include <gtest/gtest.h>

#include "common/format.h"

namespace qp {
namespace {

TEST(GbkText, RoundTripsChineseAndAscii) {
  const std::string utf8 = "已知点坐标第[3]行 A1";
  const std::string gbk = Utf8ToGbk(utf8);
  // Every Chinese character is two bytes in GBK.
  EXPECT_EQ(gbk.size(), 7u * 2 + std::string("[3] A1").size());
  EXPECT_EQ(GbkToUtf8(gbk), utf8);
  EXPECT_EQ(Gbk("控制网名"), Utf8ToGbk("控制网名"));
  EXPECT_EQ(&Gbk("控制网名"), &Gbk("控制网名"));  // cached
}

TEST(GbkText, BadBytesNeverStopTheConversion) {
  EXPECT_EQ(Utf8ToGbk("A\xFF" "B"), "A?B");
  EXPECT_EQ(Utf8ToGbk("x😀y"), "x?y");  // not in GBK
  EXPECT_EQ(GbkToUtf8("A\x81"), "A\xEF\xBF\xBD");  // truncated double byte
  EXPECT_EQ(GbkToUtf8(std::string("\xFFZ", 2)), "\xEF\xBF\xBDZ");
}

TEST(GbkText, UserTextEncodingIsDetected) {
  EXPECT_TRUE(IsValidUtf8("点名"));
  EXPECT_FALSE(IsValidUtf8(Utf8ToGbk("点名")));
  EXPECT_FALSE(IsValidUtf8("\xC0\x80"));  // overlong
  EXPECT_EQ(DecodeUserTextToGbk("\xEF\xBB\xBF点名"), Utf8ToGbk("点名"));
  EXPECT_EQ(DecodeUserTextToGbk(Utf8ToGbk("点名")), Utf8ToGbk("点名"));
}

TEST(GbkText, CutNeverSplitsADoubleByteCharacter) {
  const std::string name = "A" + Gbk("点名");  // 5 bytes
  EXPECT_EQ(CutGbk(name, 5), name);
  EXPECT_EQ(CutGbk(name, 4), "A" + Gbk("点"));
  EXPECT_EQ(CutGbk(name, 3), "A" + Gbk("点"));
  EXPECT_EQ(CutGbk(name, 0), "");
  EXPECT_EQ(CutGbk(name, 100), name);
  // A lead byte with nothing after it counts as one byte.
  EXPECT_EQ(CutGbk("AB\xB5", 3), "AB\xB5");
  EXPECT_EQ(CutGbk("AB\xB5", 2), "AB");
}

TEST(Format, WidthsCountGbkBytes) {
  const std::string name = Gbk("五个汉字名");  // 10 bytes
  EXPECT_EQ(Format("%-11.10s|", name.c_str()), name + " |");
  const std::string longName = Gbk("六个汉字的名");  // 12 bytes, cut at 10
  EXPECT_EQ(Format("%-11.10s|", longName.c_str()).size(), 12u);
  EXPECT_EQ(FormatText("已知点坐标第[%d]行数据不正确!", 0), Gbk("已知点坐标第[0]行数据不正确!"));
  const std::string big(2000, 'x');
  EXPECT_EQ(Format("%s", big.c_str()), big);
}

// Quoted values are cut to 40 characters (a Chinese character is one) with
// "…" after them; a shorter text is quoted whole.
TEST(Format, QuotedValuesAreCutToAReadableLength) {
  const std::string han = Gbk("点");
  std::string forty;
  for (int i = 0; i < 20; ++i) forty += "a" + han;
  EXPECT_EQ(QuotedInMessage(forty), forty);
  EXPECT_EQ(QuotedInMessage(forty + han), forty + Gbk("…"));
  EXPECT_EQ(QuotedInMessage(std::string(8 << 20, 'x')), std::string(40, 'x') + Gbk("…"));
  std::string many;
  for (int i = 0; i < 4000; ++i) many += han;
  std::string cut;
  for (int i = 0; i < 40; ++i) cut += han;
  EXPECT_EQ(QuotedInMessage(many), cut + Gbk("…"));
  EXPECT_EQ(QuotedInMessage(""), "");
}

}  // namespace
}  // namespace qp
