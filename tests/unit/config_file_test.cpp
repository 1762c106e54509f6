#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "settings/config_file.h"
#include "support/temp_folder.h"

namespace tenmark {
namespace {

constexpr std::uint32_t kAnyUInt = std::numeric_limits<std::uint32_t>::max();

ConfigFile fileWith(std::string_view text) {
  ConfigFile file;
  file.LoadText(text);
  return file;
}

std::int32_t readInt(std::string_view text, const char* key, std::int32_t start, std::int32_t min,
                     std::int32_t max) {
  std::int32_t value = start;
  fileWith(text).GetInt(key, value, min, max);
  return value;
}

TEST(ConfigFileLookup, IntegerValuesFollowTheLookupAndParseRules) {
  const struct {
    const char* text;
    std::int32_t expected;
  } cases[] = {
      {"n_pen_size=5\r\n", 5},
      {"n_pen_size=\t5\v\f \r\n", 5},           // white space around the value is trimmed
      {"n_pen_size =5\r\n", 1},                 // space before "=": key not found
      {"n_pen_size=5abc\r\n", 5},               // trailing text after the digits is ignored
      {"n_pen_size=abc\r\n", 0},                // letters parse as 0
      {"n_pen_size=+7\r\n", 7},                 // explicit plus sign
      {"n_pen_size=   \r\n", 1},                // empty after trimming
      {"n_pen_size=5", 1},                      // last line without CR LF
      {"n_pen_size=5\nx=1\r\n", 5},             // a value runs to the next CR LF anywhere later
      {"n_pen_size=3\r\nn_pen_size=9\r\n", 3},  // duplicates: the first counts
      {"xn_pen_size=4\r\n", 4},                 // not anchored at the start of a line
      {"N_PEN_SIZE=4\r\n", 1},                  // case-sensitive
  };
  for (const auto& c : cases)
    EXPECT_EQ(readInt(c.text, "n_pen_size", 1, 0, 30), c.expected) << c.text;
}

// Signed inclusive bounds, never clamped, are the settings test's.
TEST(ConfigFileLookup, NumbersAccumulateInThirtyTwoBits) {
  const struct {
    const char* text;
    std::uint32_t expected;
  } cases[] = {{"4294967295", 0xFFFFFFFFu},
               {"4294967301", 5u},
               {"-2147483648", 0x80000000u},
               {"-", 0u},
               {"+-5", 0u},
               {" 5", 0u}};  // lookups trim first, the parser does not
  for (const auto& c : cases) EXPECT_EQ(parseConfigInteger(c.text), c.expected) << c.text;
}

TEST(ConfigFileLookup, UIntTakesEveryNonEmptyValue) {
  const struct {
    const char* text;
    std::uint32_t expected;
  } cases[] = {{"k=-32736\r\n", 0xFFFF8020u}, {"k=abc\r\n", 0u}, {"k=\r\n", 77u}, {"k=5", 77u}};
  for (const auto& c : cases) {
    std::uint32_t value = 77;
    fileWith(c.text).GetUInt("k", value, kAnyUInt);
    EXPECT_EQ(value, c.expected) << c.text;
  }
  std::uint32_t limited = 77;
  fileWith("k=200\r\n").GetUInt("k", limited, 100);
  EXPECT_EQ(limited, 77u);
}

TEST(ConfigFileLookup, StringsAreTrimmedAndEmptyValuesKeepTheVariable) {
  const struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"s_save_dir=C:\\pics\\\r\n", "C:\\pics\\"},
      {"s_save_dir=\v\f\ta b\f\v\t\r\n", "a b"},
      {"s_save_dir= \t \r\n", "keep"},
      {"s_save_dir=x", "keep"},
      {"s_save_dir=a=b\r\n", "a=b"},
  };
  for (const auto& c : cases) {
    std::string value = "keep";
    fileWith(c.text).GetString("s_save_dir", value);
    EXPECT_EQ(value, c.expected) << c.text;
  }
}

TEST(ConfigFileLookup, TextEndsAtTheFirstNulByte) {
  const std::string text("a=1\r\nb=2\0\r\nc=3\r\n", 16);
  EXPECT_EQ(fileWith(text).text(), "a=1\r\nb=2");
  EXPECT_EQ(readInt(text, "a", 0, 0, 9), 1);
  EXPECT_EQ(readInt(text, "b", 0, 0, 9), 0);  // its CR LF lies beyond the NUL
  EXPECT_EQ(readInt(text, "c", 0, 0, 9), 0);
}

TEST(ConfigFileWrite, EntriesAreCrLfLinesWithSignedDecimals) {
  ConfigFile file;
  file.PutString("s", "v");
  file.PutInt("a", 0);
  file.PutInt("b", -1000);
  file.AppendLine("");
  file.PutInt("c", static_cast<std::int32_t>(0x80000000u));
  file.PutInt("d", static_cast<std::int32_t>(0xFFFF8020u));
  file.PutInt("e", 2147483647);
  EXPECT_EQ(file.text(),
            "s=v\r\na=0\r\nb=-1000\r\n\r\nc=-2147483648\r\nd=-32736\r\ne=2147483647\r\n");
}

using ConfigFileOnDisk = TempFolderTest;

TEST_F(ConfigFileOnDisk, SaveReplacesALongerFileWholeAndLoadReadsItBack) {
  writeFile(path("a.ini"), std::string(5000, 'x'));
  ConfigFile writer;
  writer.PutInt("n", -5);
  writer.AppendLine("");
  writer.PutString("s", "\x95\x5C");
  ASSERT_TRUE(writer.Save(path("a.ini")));
  EXPECT_EQ(contentOf(path("a.ini")), "n=-5\r\n\r\ns=\x95\x5C\r\n");
  ConfigFile reader;
  ASSERT_TRUE(reader.Load(path("a.ini")));
  EXPECT_EQ(reader.text(), writer.text());
  EXPECT_EQ(entries(), 1u);  // no leftovers
}

// A missing file loads nothing. A file that cannot be created where it should go: nothing
// appears, nothing else is touched.
TEST_F(ConfigFileOnDisk, FailedLoadAndSaveChangeNothing) {
  ConfigFile missing;
  EXPECT_FALSE(missing.Load(path("absent.ini")));
  EXPECT_TRUE(missing.text().empty());
  writeFile(path("a.ini"), "old");
  ConfigFile writer;
  writer.PutInt("n", 1);
  EXPECT_FALSE(writer.Save(path("no_such_folder/a.ini")));
  EXPECT_EQ(contentOf(path("a.ini")), "old");
  EXPECT_EQ(entries(), 1u);
}

TEST_F(ConfigFileOnDisk, EnormousFileIsReadOnlyUpToTheLimit) {
  std::string bytes = "n_pen_size=5\r\n";
  bytes.append(ConfigFile::kMaxFileBytes, 'x');
  bytes.append("\r\nn_erase_size=9\r\n");
  writeFile(path("big.ini"), bytes);
  ConfigFile file;
  ASSERT_TRUE(file.Load(path("big.ini")));
  EXPECT_EQ(file.text().size(), ConfigFile::kMaxFileBytes);
  std::int32_t pen = 1, eraser = 8;
  file.GetInt("n_pen_size", pen, 1, 30);
  file.GetInt("n_erase_size", eraser, 1, 30);
  EXPECT_EQ(pen, 5);
  EXPECT_EQ(eraser, 8);
}

}  // namespace
}  // namespace tenmark
