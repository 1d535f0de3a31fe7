// The encodings of stored values: the 80-bit interval, the boolean words, integers and the
// position texts.
#include "settings/stored_values.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace velmora::settings {
namespace {

ExtendedBytes Bytes(std::initializer_list<int> values) {
  ExtendedBytes bytes{};
  int i = 0;
  for (int v : values) bytes[i++] = static_cast<std::uint8_t>(v);
  return bytes;
}

TEST(Extended, EncodesTheIntervalsAsTheX87Does) {
  struct Case {
    double value;
    ExtendedBytes bytes;
  };
  const Case cases[] = {
      {1, Bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F})},
      {5, Bytes({0, 0, 0, 0, 0, 0, 0, 0xA0, 0x01, 0x40})},
      {100, Bytes({0, 0, 0, 0, 0, 0, 0, 0xC8, 0x05, 0x40})},
      {0, Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0, 0})},
      {-2, Bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0x00, 0xC0})},
      {0.5, Bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFE, 0x3F})},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EncodeExtended(c.value), c.bytes) << c.value;
    EXPECT_EQ(DecodeExtended(c.bytes), c.value) << c.value;
  }
}

TEST(Extended, EveryFiniteDoubleSurvivesTheRoundTrip) {
  for (const double value :
       {1.0 / 3, 1e-300, -123456.789, 4e300, std::numeric_limits<double>::denorm_min(),
        std::numeric_limits<double>::max()}) {
    EXPECT_EQ(DecodeExtended(EncodeExtended(value)), value) << value;
  }
}

TEST(Extended, RefusesWhatIsNoNumber) {
  const ExtendedBytes nan = EncodeExtended(std::nan(""));
  EXPECT_EQ(DecodeExtended(nan), std::nullopt);
  // The integer bit missing under a normal exponent: the x87 rejects this "unnormal".
  EXPECT_EQ(DecodeExtended(Bytes({0, 0, 0, 0, 0, 0, 0, 0x40, 0xFF, 0x3F})), std::nullopt);
  // Another length.
  const std::uint8_t three[] = {0, 0x80, 0xFF};
  EXPECT_EQ(DecodeExtended(three), std::nullopt);
  const std::uint8_t eleven[11] = {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F, 0};
  EXPECT_EQ(DecodeExtended(eleven), std::nullopt);
}

TEST(Extended, BeyondTheDoubleRangeBecomesInfinityOrZero) {
  // 2^16000 and 2^-16000.
  const auto huge = DecodeExtended(Bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0x7F, 0x7E}));
  ASSERT_TRUE(huge);
  EXPECT_TRUE(std::isinf(*huge));
  const auto tiny = DecodeExtended(Bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0x7F, 0x01}));
  EXPECT_EQ(tiny, 0.0);
  EXPECT_EQ(DecodeExtended(EncodeExtended(-HUGE_VAL)), -HUGE_VAL);
}

TEST(Boolean, WordsAndNumbers) {
  struct Case {
    const char* text;
    std::optional<bool> value;
  };
  const Case cases[] = {
      {"TRUE", true}, {"true", true},      {"Yes", true},    {"y", true},   {" Y ", true},
      {"1", true},    {"-7", true},        {"FALSE", false}, {"no", false}, {"N", false},
      {"0", false},   {"maybe", {}},       {"", {}},         {"1.0", {}},   {"yess", {}},
      {"TRUE,", {}},  {"99999999999", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseBoolean(c.text), c.value) << '"' << c.text << '"';
  EXPECT_EQ(BooleanText(true), "TRUE");
  EXPECT_EQ(BooleanText(false), "FALSE");
}

TEST(Boolean, OnlyTextValuesRead) {
  EXPECT_EQ(ReadBoolean({ValueType::kString, "yes", {}}), true);
  EXPECT_EQ(ReadBoolean(DwordValue(1)), std::nullopt);
}

TEST(Integer, DwordAsSignedAndDecimalText) {
  EXPECT_EQ(ReadInteger(DwordValue(0xFFFFFFFF)), -1);
  EXPECT_EQ(ReadInteger(DwordValue(7)), 7);
  EXPECT_EQ(ReadInteger({ValueType::kString, "12", {}}), 12);
  EXPECT_EQ(ReadInteger({ValueType::kString, "-3", {}}), -3);
  EXPECT_EQ(ReadInteger({ValueType::kString, "twelve", {}}), std::nullopt);
  EXPECT_EQ(ReadInteger({ValueType::kString, "2147483648", {}}), std::nullopt);
  EXPECT_EQ(ReadInteger({ValueType::kBinary, {}, {1, 0, 0, 0}}), std::nullopt);
  EXPECT_EQ(ReadInteger({ValueType::kDword, {}, {1, 0}}), std::nullopt);
}

TEST(Positions, FormatAndWords) {
  EXPECT_EQ(FormatPositions(-1, -1, -8, -31), "-1,-1,-8,-31");
  const auto words = ParsePositionWords("10, 20,,x 40");
  ASSERT_EQ(words.size(), 4u);
  EXPECT_EQ(PositionWord(words, 0, 5), 10);
  EXPECT_EQ(PositionWord(words, 1, 5), 20);
  EXPECT_EQ(PositionWord(words, 2, 5), 5) << "a word that is no number takes the fallback";
  EXPECT_EQ(PositionWord(words, 3, 5), 40);
  EXPECT_EQ(PositionWord(words, 4, 5), 5) << "a missing word takes the fallback";
  EXPECT_EQ(PositionWord(ParsePositionWords("99999999999,1"), 0, 3), 3);
}

}  // namespace
}  // namespace velmora::settings
