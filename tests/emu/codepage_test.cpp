// The emulated text services of code page 932: conversions, lead bytes, upper-casing and comparison.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "winapi/emu/control.h"
#include "winapi/winapi.h"

namespace {

class CodePageEmu : public ::testing::Test {
 protected:
  void SetUp() override { emu::Reset(); }
};

std::u16string ToWide(UINT codePage, const std::string& bytes) {
  const int n = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::u16string wide(static_cast<std::size_t>(n), u'\0');
  if (n > 0) {
    EXPECT_EQ(MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), n), n);
  }
  return wide;
}

std::string ToNarrow(UINT codePage, const std::u16string& wide, BOOL* usedDefault = nullptr,
                     const char* defaultChar = nullptr) {
  const int n = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, defaultChar,
                                    usedDefault);
  std::string bytes(static_cast<std::size_t>(n), '\0');
  if (n > 0) {
    EXPECT_EQ(WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(), n, defaultChar,
                                  usedDefault),
              n);
  }
  return bytes;
}

TEST_F(CodePageEmu, NarrowLiteralsOfTheseTestsAreShiftJis) {
  EXPECT_EQ(std::string("テスト"), "\x83\x65\x83\x58\x83\x67");
  EXPECT_EQ(std::string("ｱ"), "\xB1");
  EXPECT_EQ(std::string("表"), "\x95\x5C");
}

TEST_F(CodePageEmu, AnsiToWide) {
  struct Case {
    std::string bytes;
    std::u16string wide;
  };
  const std::vector<Case> cases = {
      {"abc", u"abc"},
      {"テスト", u"テスト"},
      {"ｱｲｳ", u"ｱｲｳ"},
      {"表", u"表"},
      {"C:\\表\\テスト.lnk", u"C:\\表\\テスト.lnk"},
      {"\\~", u"\\~"},  // backslash and tilde stay themselves, not yen and overline
      {"ａＡ", u"ａＡ"},
      {"\x80\xA0\xFD\xFE\xFF", u"\u0080\uF8F0\uF8F1\uF8F2\uF8F3"},
      {"a\x81", u"a\u30FB"},    // a lead byte without its trail
      {"\x81 b", u"\u30FB b"},  // a lead byte before a byte that cannot follow it
      {std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
  };
  for (const Case& c : cases) EXPECT_EQ(ToWide(CP_ACP, c.bytes), c.wide) << c.bytes;
  EXPECT_EQ(ToWide(932, "テスト"), u"テスト");
}

TEST_F(CodePageEmu, Utf8ToWide) {
  EXPECT_EQ(ToWide(CP_UTF8, "\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88"), u"テスト");
  EXPECT_EQ(ToWide(CP_UTF8, "a\xF0\x9F\x98\x80z"), u"a\U0001F600z");
  EXPECT_EQ(ToWide(CP_UTF8,
                   "a\xFF"
                   "b"),
            u"a\uFFFDb");
  EXPECT_EQ(ToWide(CP_UTF8, "a\xE3\x83"), u"a\uFFFD");
}

TEST_F(CodePageEmu, LengthsAndBuffersAsWindowsCountsThem) {
  // -1 takes the terminator along; an explicit length does not.
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "テスト", -1, nullptr, 0), 4);
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "テスト", 6, nullptr, 0), 3);
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "テスト", 2, nullptr, 0), 1);

  WCHAR wide[8];
  std::fill(std::begin(wide), std::end(wide), u'#');
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "テスト", -1, wide, 4), 4);
  EXPECT_EQ(std::u16string(wide), u"テスト");
  EXPECT_EQ(wide[4], u'#');

  std::fill(std::begin(wide), std::end(wide), u'#');
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "テスト", -1, wide, 3), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(wide[3], u'#') << "nothing written past the buffer";

  struct Bad {
    UINT codePage;
    DWORD flags;
    LPCSTR src;
    int srcLen;
    int dstLen;
    DWORD error;
  };
  for (const Bad& b :
       {Bad{1252, 0, "a", -1, 8, ERROR_INVALID_PARAMETER}, Bad{CP_ACP, 1, "a", -1, 8, ERROR_INVALID_FLAGS},
        Bad{CP_ACP, 0, nullptr, -1, 8, ERROR_INVALID_PARAMETER}, Bad{CP_ACP, 0, "a", 0, 8, ERROR_INVALID_PARAMETER},
        Bad{CP_ACP, 0, "a", -2, 8, ERROR_INVALID_PARAMETER}, Bad{CP_ACP, 0, "a", -1, -1, ERROR_INVALID_PARAMETER}}) {
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(b.codePage, b.flags, b.src, b.srcLen, wide, b.dstLen), 0);
    EXPECT_EQ(GetLastError(), b.error);
  }

  char narrow[8];
  std::memset(narrow, '#', sizeof narrow);
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"表a", -1, nullptr, 0, nullptr, nullptr), 4);
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"表a", -1, narrow, 4, nullptr, nullptr), 4);
  EXPECT_STREQ(narrow, "表a");
  EXPECT_EQ(narrow[4], '#');
  SetLastError(0);
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"表a", -1, narrow, 3, nullptr, nullptr), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
}

TEST_F(CodePageEmu, MultiByteToWideCharIsLoggedWithItsArguments) {
  WCHAR wide[260];
  MultiByteToWideChar(CP_ACP, 0, "C:\\x\\VIEWER.lnk", -1, wide, 260);
  MultiByteToWideChar(CP_UTF8, 0, "abc", 2, nullptr, 0);
  EXPECT_EQ(emu::CallLog(), (std::vector<std::string>{"MultiByteToWideChar(0, 0, C:\\x\\VIEWER.lnk, -1, 260)",
                                                      "MultiByteToWideChar(65001, 0, ab, 2, 0)"}));
}

TEST_F(CodePageEmu, WideToAnsiAndUtf8) {
  struct Case {
    std::u16string wide;
    std::string bytes;
  };
  for (const Case& c : {Case{u"テスト", "テスト"}, Case{u"ｱ", "\xB1"}, Case{u"表", "\x95\x5C"},
                        Case{u"C:\\表\\a", "C:\\表\\a"}, Case{u"\uF8F0\u0080", "\xA0\x80"}}) {
    BOOL used = TRUE;
    EXPECT_EQ(ToNarrow(CP_ACP, c.wide, &used), c.bytes);
    EXPECT_FALSE(used);
  }
  BOOL used = FALSE;
  EXPECT_EQ(ToNarrow(CP_ACP, u"a\u2022b\U0001F600", &used), "a?b?");
  EXPECT_TRUE(used);
  EXPECT_EQ(ToNarrow(CP_ACP, u"a\u2022", &used, "*"), "a*");

  EXPECT_EQ(ToNarrow(CP_UTF8, u"テスト"), "\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88");
  EXPECT_EQ(ToNarrow(CP_UTF8, u"a\U0001F600"), "a\xF0\x9F\x98\x80");
  EXPECT_EQ(ToNarrow(CP_UTF8, std::u16string(u"a\xD800z")), "a\xEF\xBF\xBDz");
  SetLastError(0);
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"a", -1, nullptr, 0, nullptr, &used), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(CodePageEmu, EveryCharacterOfTheJisRowsSurvivesARoundTrip) {
  // Rows outside the vendor extensions, whose characters each have one spelling.
  int checked = 0;
  for (int lead = 0x81; lead <= 0xEA; ++lead) {
    if ((lead >= 0x85 && lead <= 0x87) || (lead >= 0xA0 && lead <= 0xDF)) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      if (trail == 0x7F) continue;
      const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
      const std::u16string wide = ToWide(CP_ACP, bytes);
      ASSERT_EQ(wide.size(), 1u) << lead << " " << trail;
      if (wide[0] == u'\u30FB' && bytes != "・") continue;  // a hole of the code page
      ASSERT_EQ(ToNarrow(CP_ACP, wide), bytes) << std::hex << lead << " " << trail;
      ++checked;
    }
  }
  EXPECT_GT(checked, 6000);
}

TEST_F(CodePageEmu, LeadBytes) {
  struct Case {
    BYTE b;
    bool lead;
  };
  for (const Case& c : {Case{0x00, false}, Case{0x41, false}, Case{0x5C, false}, Case{0x7F, false}, Case{0x80, false},
                        Case{0x81, true}, Case{0x95, true}, Case{0x9F, true}, Case{0xA0, false}, Case{0xB1, false},
                        Case{0xDF, false}, Case{0xE0, true}, Case{0xFC, true}, Case{0xFD, false}, Case{0xFF, false}})
    EXPECT_EQ(IsDBCSLeadByte(c.b) != FALSE, c.lead) << static_cast<int>(c.b);
  EXPECT_EQ(GetACP(), 932u);
}

TEST_F(CodePageEmu, UpperCasingTouchesAsciiLettersOnly) {
  struct Case {
    std::string in;
    std::string out;
  };
  const std::vector<Case> cases = {
      {"viewer.exe", "VIEWER.EXE"},
      {"テスト.exe", "テスト.EXE"},
      {"ヂa", "ヂA"},  // 0x83 0x61: the trail byte looks like 'a' and stays
      {"aヂbヂ", "AヂBヂ"},
      {"ａｂｃ", "ａｂｃ"},  // full-width letters are left alone
      {"ｱｲｳabc", "ｱｲｳABC"},
      {"my.tool.exe", "MY.TOOL.EXE"},
      {"[a-z]{~}@`", "[A-Z]{~}@`"},
  };
  for (const Case& c : cases) {
    std::string s = c.in;
    EXPECT_EQ(CharUpperBuffA(s.data(), static_cast<DWORD>(s.size())), s.size());
    EXPECT_EQ(s, c.out) << c.in;
  }
  ASSERT_EQ(std::string("ヂ"), "\x83\x61");
  std::string partial =
      "ab\x83"
      "ab";
  EXPECT_EQ(CharUpperBuffA(partial.data(), 3), 3u);
  EXPECT_EQ(partial,
            "AB\x83"
            "ab")
      << "only the given length is processed";
  std::string withNul("a\0b", 3);
  CharUpperBuffA(withNul.data(), 3);
  EXPECT_EQ(withNul, std::string("A\0B", 3));
}

TEST_F(CodePageEmu, CompareStringIgnoresAsciiCaseOnly) {
  struct Case {
    std::string a;
    std::string b;
    DWORD flags;
    int result;
  };
  const std::vector<Case> cases = {
      {"abc", "ABC", NORM_IGNORECASE, CSTR_EQUAL},
      {"abc", "ABD", NORM_IGNORECASE, CSTR_LESS_THAN},
      {"abd", "ABC", NORM_IGNORECASE, CSTR_GREATER_THAN},
      {"abc", "ABC", 0, CSTR_LESS_THAN},  // same letters: small ones first
      {"ABC", "abc", 0, CSTR_GREATER_THAN},
      {"a", "B", 0, CSTR_LESS_THAN},  // letters in the alphabet's order, not by code
      {"Ab", "aC", 0, CSTR_LESS_THAN},
      {"ab", "abc", NORM_IGNORECASE, CSTR_LESS_THAN},
      {"abc", "ab", NORM_IGNORECASE, CSTR_GREATER_THAN},
      {"", "", 0, CSTR_EQUAL},
      {"1", "a", 0, CSTR_LESS_THAN},
      {"_", "a", NORM_IGNORECASE, CSTR_LESS_THAN},
      {"テスト.exe", "テスト.EXE", NORM_IGNORECASE, CSTR_EQUAL},
      {"テスト.exe", "テスト.EXE", 0, CSTR_LESS_THAN},
      {"ヂa", "ヂA", NORM_IGNORECASE, CSTR_EQUAL},
      {"ヂ", "ア", NORM_IGNORECASE, CSTR_GREATER_THAN},  // trail bytes 0x61 and 0x41 are no letters
      {"ａ", "Ａ", NORM_IGNORECASE, CSTR_GREATER_THAN},
      {"表", "表", 0, CSTR_EQUAL},
      {"a", "ｱ", 0, CSTR_LESS_THAN},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CompareStringA(LOCALE_USER_DEFAULT, c.flags, c.a.c_str(), -1, c.b.c_str(), -1), c.result)
        << c.a << " / " << c.b;
  EXPECT_EQ(CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, "abcdef", 3, "ABCxyz", 3), CSTR_EQUAL);
  EXPECT_EQ(CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, "abcdef", 4, "ABCxyz", 4), CSTR_LESS_THAN);
  SetLastError(0);
  EXPECT_EQ(CompareStringA(LOCALE_USER_DEFAULT, 0x10000000, "a", -1, "a", -1), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FLAGS));
  EXPECT_EQ(CompareStringA(LOCALE_USER_DEFAULT, 0, nullptr, -1, "a", -1), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

}  // namespace
