#include "core/resource_strings.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

constexpr BuiltinString kTestStrings[] = {{900001, "Built in"}, {900002, "Second"}};
VELMORA_BUILTIN_STRINGS(kTestStrings);

struct TranslatorReset : ::testing::Test {
  ~TranslatorReset() override { SetResourceStringTranslator({}); }
};

TEST_F(TranslatorReset, FallsBackToTheBuiltInTextWithoutTranslator) {
  EXPECT_EQ(LoadResString(900001), "Built in");
  EXPECT_EQ(LoadResString(900099), "");
}

TEST_F(TranslatorReset, TranslatorIsAskedFirstAndMayDecline) {
  SetResourceStringTranslator([](int id, std::string& text) {
    if (id != 900001) return false;
    text = "Eingebaut";
    return true;
  });
  EXPECT_EQ(LoadResString(900001), "Eingebaut");
  EXPECT_EQ(LoadResString(900002), "Second");
}

TEST(BuiltinStrings, FirstRegistrationOfAnIdentifierWins) {
  constexpr BuiltinString again[] = {{900001, "Other"}};
  RegisterBuiltinStrings(again);
  EXPECT_EQ(BuiltinResString(900001), "Built in");
}

}  // namespace
}  // namespace velmora
