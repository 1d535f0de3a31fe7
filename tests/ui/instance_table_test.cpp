#include "ui/instance_table.h"

#include <gtest/gtest.h>

#include <array>

namespace velmora::ui {
namespace {

TEST(InstanceNames, KeyIsVlmAndThePathWithUnderscoresForBackslashes) {
  const auto names = DeriveInstanceNames(u"C:\\PROGRAM FILES\\VELMORA\\VELMORA.EXE");
  EXPECT_EQ(names.key, u"VlmC:_PROGRAM FILES_VELMORA_VELMORA.EXE");
  EXPECT_EQ(names.table, names.key + u"_Map");
  EXPECT_EQ(names.lock, names.key + u"_Otx");
  EXPECT_EQ(names.lock_event, u"Lock_Event_" + names.key + u"_Otx");
  EXPECT_EQ(names.lock_block, u"Lock_MMF_" + names.key + u"_Otx");
  EXPECT_EQ(names.message, names.key + u"_Msg");
}

TEST(InstanceNames, LongPathsGiveShortDistinctNames) {
  const std::u16string deep = u"C:\\" + std::u16string(300, u'A') + u"\\VELMORA.EXE";
  std::u16string other = deep;
  other[10] = u'B';  // differs far from the end, where the kept tail cannot tell them apart
  const auto a = DeriveInstanceNames(deep);
  const auto b = DeriveInstanceNames(other);
  EXPECT_LE(a.lock_event.size(), kMaxObjectName);
  EXPECT_LE(a.lock_block.size(), kMaxObjectName);
  EXPECT_NE(a.key, b.key);
  EXPECT_EQ(a.key, DeriveInstanceNames(deep).key);  // stable
  EXPECT_EQ(a.key.find(u'\\'), std::u16string::npos);
  // A path just short enough keeps the plain form.
  const std::u16string fits(kMaxObjectName - 11 - 4 - 3, u'X');
  EXPECT_EQ(DeriveInstanceNames(fits).key, u"Vlm" + fits);
  EXPECT_NE(DeriveInstanceNames(fits + u"X").key, u"Vlm" + fits + u"X");
}

struct TableTest : ::testing::Test {
  std::array<std::uint8_t, InstanceTable::kSize> memory{};
  InstanceTable table{memory};
};

TEST_F(TableTest, FirstRegistrationSetsTheMaximumAndLayoutIsLittleEndian) {
  const auto r = table.Register(0x11223344);
  EXPECT_TRUE(r.registered);
  EXPECT_EQ(r.count_before, 0u);
  EXPECT_EQ(table.maximum(), 65535);
  EXPECT_EQ(memory[0], 0xFF);
  EXPECT_EQ(memory[2], 1);  // count
  EXPECT_EQ(memory[4], 0x44);
  EXPECT_EQ(memory[7], 0x11);
}

TEST_F(TableTest, UnregisterClosesTheGapInOrder) {
  for (std::uint32_t id : {10u, 20u, 30u}) table.Register(id);
  EXPECT_TRUE(table.Unregister(20));
  EXPECT_FALSE(table.Unregister(99));
  EXPECT_EQ(table.ids(), (std::vector<std::uint32_t>{10, 30}));
  EXPECT_EQ(table.id(2), 0u);  // the freed slot is cleared
  EXPECT_EQ(table.Register(40).count_before, 2u);
  EXPECT_EQ(table.ids(), (std::vector<std::uint32_t>{10, 30, 40}));
}

TEST_F(TableTest, EntriesOfEndedCopiesCanBeRemoved) {
  for (std::uint32_t id : {10u, 20u, 30u}) table.Register(id);
  EXPECT_EQ(table.RemoveIf([](std::uint32_t id) { return id != 30; }), 2u);
  EXPECT_EQ(table.ids(), std::vector<std::uint32_t>{30});
}

TEST_F(TableTest, AFullTableRefusesAndADamagedCountStaysInsideTheBlock) {
  for (std::uint32_t id = 1; id <= InstanceTable::kSlots; ++id) {
    ASSERT_TRUE(table.Register(id).registered);
  }
  EXPECT_FALSE(table.Register(999).registered);
  memory[2] = 0xFF, memory[3] = 0xFF;  // count 65535
  EXPECT_EQ(table.count(), InstanceTable::kSlots);
  EXPECT_EQ(table.ids().size(), InstanceTable::kSlots);
}

TEST(HandOver, EveryArgumentIsFollowedByCrLf) {
  EXPECT_EQ(JoinHandOverArguments({u"notray", u"x y"}), u"notray\r\nx y\r\n");
  EXPECT_EQ(JoinHandOverArguments({}), u"");
}

}  // namespace
}  // namespace velmora::ui
