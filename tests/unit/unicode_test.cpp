#include "platform/unicode.h"

#include <gtest/gtest.h>

namespace tenmark {
namespace {

// Names as users give them: 𠮷 (outside the basic plane), ねこ🐱, Hangul, and 表ソ, whose
// second Shift-JIS bytes are backslashes.
TEST(Unicode, NamesGoToUtf16AndBackUnchanged) {
  const struct {
    std::string utf8;
    std::u16string utf16;
  } cases[] = {
      {"C:\\\xf0\xa0\xae\xb7\xe7\x94\xb0\\a.png", u"C:\\\U00020BB7\u7530\\a.png"},
      {"\xe3\x81\xad\xe3\x81\x93\xf0\x9f\x90\xb1.png", u"\u306D\u3053\U0001F431.png"},
      {"\xed\x95\x9c", u"\uD55C"},
      {"\xe8\xa1\xa8\xe3\x82\xbd", u"\u8868\u30BD"},
      {"", u""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(utf8ToUtf16(c.utf8), c.utf16) << c.utf8;
    EXPECT_EQ(utf16ToUtf8(c.utf16), c.utf8) << c.utf8;
  }
}

TEST(Unicode, BrokenTextIsRefusedNeverGuessed) {
  for (const std::u16string& lone :
       {std::u16string(u"a\xD800"), std::u16string(u"\xDC00z"), std::u16string(u"\xD800\xD800")})
    EXPECT_FALSE(utf16ToUtf8(lone));
  for (const char* broken :
       {"\x80", "\xc0\xaf", "\xe3\x81", "\xed\xa0\x80", "\xf4\x90\x80\x80", "\xff", "\x95\x5c"})
    EXPECT_FALSE(utf8ToUtf16(broken)) << broken;
}

}  // namespace
}  // namespace tenmark
