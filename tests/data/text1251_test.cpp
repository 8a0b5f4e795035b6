#include "data/text1251.h"

#include <gtest/gtest.h>

namespace zorel {
namespace {

TEST(Text1251, RoundTripsEveryByteThroughUtf8) {
  std::string all;
  for (int c = 1; c < 256; ++c) all.push_back(static_cast<char>(c));
  const auto back = FromUtf8(ToUtf8(all));
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(*back, all);
}

TEST(Text1251, RefusesCharactersWithoutACodePageForm) {
  EXPECT_FALSE(FromUtf8("日本").has_value());
  EXPECT_FALSE(FromUtf8("\xC0\x80").has_value());  // overlong zero
  EXPECT_FALSE(FromUtf8("\xD0").has_value());      // cut sequence
  EXPECT_EQ(FromUtf8("Завод №1"), std::optional<std::string>("\xC7\xE0\xE2\xEE\xE4 \xB9"
                                                             "1"));
  // Marking instead: each such character, and each byte of a broken sequence, is one mark.
  EXPECT_EQ(FromUtf8Marking("日本 №\xC0\x80\xD0", '?'), "?? \xB9???");
}

TEST(Text1251, CaseTablesCoverCyrillicAndLatin) {
  const std::string lower = *FromUtf8("минский завод ёлка ґ abc");
  EXPECT_EQ(ToUtf8(Upper1251(lower)), "МИНСКИЙ ЗАВОД ЁЛКА Ґ ABC");
  EXPECT_EQ(ToUtf8(Lower1251(*FromUtf8("ЁЛКА ЇЖАК Z"))), "ёлка їжак z");
}

TEST(Text1251, RussianOrderPutsYoAfterYeAndIgnoresCase) {
  auto cmp = [](const char* a, const char* b) {
    return CompareRussian(*FromUtf8(a), *FromUtf8(b));
  };
  EXPECT_LT(cmp("Ель", "ёж"), 0);
  EXPECT_LT(cmp("ёж", "Жук"), 0);
  EXPECT_LT(cmp("абв", "Абг"), 0);
  EXPECT_LT(cmp("абв", "Абв"), 0);  // equal letters: small first
  EXPECT_EQ(cmp("Абв", "Абв"), 0);
  EXPECT_LT(cmp("Zeta", "Альфа"), 0);  // Latin before Cyrillic
}

TEST(Text1251, StripRemovesBlanksAndControlCharacters) {
  EXPECT_EQ(Strip(" \t\r\nab c\x01 "), "ab c");
  EXPECT_EQ(Strip("   "), "");
  EXPECT_EQ(TrimBlanks(" \tab "), "\tab");
  EXPECT_EQ(CutAtZero(std::string_view("ab\0cd", 5)), "ab");
}

}  // namespace
}  // namespace zorel
