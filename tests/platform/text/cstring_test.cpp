#include "platform/text/cstring.h"

#include <gtest/gtest.h>

#include "platform/text/cstring_array.h"
#include "platform/text/encoding.h"

namespace {

const char* const kPhaseName = "\xCF\xE0\xB1\xF0";  // 相别 in code page 936

TEST(CStringTest, FormatFollowsPrintf) {
  CString s;
  s.Format("%f", 2.4f);
  EXPECT_EQ(s, "2.400000");
  s.Format("\"%s\"%s", "a", ",;.?");
  EXPECT_EQ(s, "\"a\",;.?");
  s.AppendFormat("[%d]", 7);
  EXPECT_EQ(s, "\"a\",;.?[7]");
}

TEST(CStringTest, SearchNeverMatchesInsideADoubleByteCharacter) {
  // 0xB1F0 then 'p': the trail byte 0xF0 must not be taken for a match of
  // a needle starting with 0xF0.
  const CString text("\xB1\xF0p\xF0p");
  EXPECT_EQ(text.Find("\xF0p"), 3);
  // A lead byte equal to a trail byte value: \x81\x40 is one character.
  const CString at("\x81@@");
  EXPECT_EQ(at.Find('@'), 2);
  EXPECT_EQ(CString("abcabc").Find("bc", 2), 4);
  EXPECT_EQ(CString("abc").Find("x"), -1);
  EXPECT_EQ(CString("a,b,c").ReverseFind(','), 3);
}

TEST(CStringTest, CutsCountBytes) {
  const CString s("0123456789");
  EXPECT_EQ(s.Left(3), "012");
  EXPECT_EQ(s.Right(2), "89");
  EXPECT_EQ(s.Mid(8), "89");
  EXPECT_EQ(s.Mid(2, 3), "234");
  EXPECT_EQ(s.Mid(20), "");
  CString t("abcdef");
  t.Delete(t.GetLength() - 2, 2);
  EXPECT_EQ(t, "abcd");
}

TEST(CStringTest, CaseChangesLeaveDoubleByteCharactersAlone) {
  // 0xC1 0x5A is a double-byte character whose trail byte is 'Z'.
  CString s("XLS\xC1Z");
  s.MakeLower();
  EXPECT_EQ(s, "xls\xC1Z");
  EXPECT_EQ(CString("DATA.XLS").CompareNoCase("data.xls"), 0);
}

TEST(CStringTest, MultibyteComparisons) {
  auto u = [](const char* s) { return reinterpret_cast<const unsigned char*>(s); };
  EXPECT_EQ(_mbscmp(u(kPhaseName), u(kPhaseName)), 0);
  EXPECT_LT(_mbscmp(u("L1"), u("L2")), 0);
  EXPECT_GT(_mbscmp(u("\xB0\xA1"), u("a")), 0);
  EXPECT_EQ(_mbsicmp(u("Excel"), u("EXCEL")), 0);
  EXPECT_NE(_mbscmp(u("Excel"), u("EXCEL")), 0);
  EXPECT_LT(_mbscmp(u("ab"), u("abc")), 0);
}

TEST(CStringArrayTest, InsertRemoveAppend) {
  CStringArray a;
  a.Add("x");
  a.Add("z");
  a.InsertAt(1, "y");
  ASSERT_EQ(a.GetSize(), 3);
  EXPECT_EQ(a[1], "y");
  a.RemoveAt(0);
  EXPECT_EQ(a[0], "y");
  CStringArray b;
  b.Add("w");
  b.Append(a);
  EXPECT_EQ(b.GetSize(), 3);
  EXPECT_EQ(b[2], "z");
}

TEST(EncodingTest, ChineseRoundTripsThroughUtf16AndUtf8) {
  const CString name(kPhaseName);
  EXPECT_EQ(ToUtf16(name), u"相别");
  EXPECT_EQ(ToUtf8(name), "相别");
  EXPECT_EQ(FromUtf16(u"相别"), name);
  EXPECT_EQ(FromUtf8("电气计算.xls"), CString("\xB5\xE7\xC6\xF8\xBC\xC6\xCB\xE3.xls"));
}

TEST(EncodingTest, CharactersOutsideTheCodePageAreKept) {
  const std::u16string text = u"€ 😀 ü";
  EXPECT_EQ(ToUtf16(FromUtf16(text)), text);
}

TEST(EncodingTest, InvalidInputIsReplacedNotFatal) {
  EXPECT_EQ(ToUtf16(CString("a\xFF" "b")), u"a\uFFFDb");
  EXPECT_EQ(ToUtf16(CString("a\xB0")), u"a\uFFFD");  // lead byte cut off at the end
  const std::u16string lone = {u'x', static_cast<char16_t>(0xD800), u'y'};
  EXPECT_EQ(FromUtf16(lone), "x?y");
  EXPECT_EQ(FromUtf8("a\xC3"), "a?");
}

}  // namespace
