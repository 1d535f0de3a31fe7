// The version-block walk on blocks built here, well-formed and damaged: it must find what the
// platform finds and never read outside the block.
#include <gtest/gtest.h>

#include <cstring>

#include "metadata/pe_version_reader.h"
#include "metadata/version_block.h"

namespace velmora {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Node {
  std::u16string key;
  std::uint16_t type = 1;
  Bytes value;                 // raw value bytes
  std::uint16_t value_length;  // as stored: characters for texts, bytes otherwise
  std::vector<Node> children;
};

void Put16(Bytes& b, std::size_t at, std::uint16_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void Align(Bytes& b) {
  b.resize((b.size() + 3) & ~std::size_t{3});
}

// Serialises a node as the resource compiler does: wLength covers the node and its children,
// without the padding after the last child.
Bytes Build(const Node& node) {
  Bytes b(6);
  Put16(b, 2, node.value_length);
  Put16(b, 4, node.type);
  for (char16_t c : node.key) {
    b.push_back(static_cast<std::uint8_t>(c));
    b.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  b.push_back(0);
  b.push_back(0);
  Align(b);
  b.insert(b.end(), node.value.begin(), node.value.end());
  for (const Node& child : node.children) {
    Align(b);
    const Bytes c = Build(child);
    b.insert(b.end(), c.begin(), c.end());
  }
  Put16(b, 0, static_cast<std::uint16_t>(b.size()));
  return b;
}

Bytes Text(std::u16string text) {
  Bytes b;
  text.push_back(0);
  for (char16_t c : text) {
    b.push_back(static_cast<std::uint8_t>(c));
    b.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  return b;
}

Node String(std::u16string key, std::u16string text) {
  const auto length = static_cast<std::uint16_t>(text.size() + 1);
  return {std::move(key), 1, Text(std::move(text)), length, {}};
}

Bytes Sample() {
  Node table{u"040904B0",
             1,
             {},
             0,
             {String(u"CompanyName", u"Orindel"), String(u"ProductName", u"Velmora")}};
  Node strings{u"StringFileInfo", 1, {}, 0, {table}};
  Node translation{u"Translation", 0, {0x09, 0x04, 0xB0, 0x04}, 4, {}};
  Node vars{u"VarFileInfo", 1, {}, 0, {translation}};
  Bytes fixed(52, 0);
  fixed[0] = 0xBD;
  Node root{u"VS_VERSION_INFO", 0, fixed, 52, {strings, vars}};
  return Build(root);
}

std::string Text(std::span<const std::uint8_t> block, std::string_view name) {
  static const PortableVersionSource source;
  return QueryString(source, block, "040904B0", name);
}

std::size_t Find(const Bytes& block, std::u16string_view key) {
  for (std::size_t i = 0; i + key.size() * 2 <= block.size(); i += 2) {
    bool match = true;
    for (std::size_t k = 0; k < key.size() && match; ++k) {
      match = block[i + 2 * k] == static_cast<std::uint8_t>(key[k]) && block[i + 2 * k + 1] == 0;
    }
    if (match) return i;
  }
  ADD_FAILURE() << "key not in the block";
  return 0;
}

TEST(VersionBlock, AnswersThePlatformsPaths) {
  const Bytes block = Sample();
  const auto root = QueryVersionBlock(block, "\\");
  ASSERT_TRUE(root);
  EXPECT_EQ(root->length, 52u);
  EXPECT_EQ(root->data[0], 0xBD);

  const auto translation = QueryVersionBlock(block, "\\VarFileInfo\\Translation");
  ASSERT_TRUE(translation);
  EXPECT_EQ(translation->length, 4u);
  EXPECT_EQ(translation->data[2], 0xB0);

  EXPECT_EQ(Text(block, "ProductName"), "Velmora");
  EXPECT_EQ(Text(block, "CompanyName"), "Orindel");
  EXPECT_EQ(Text(block, "FileVersion"), "");
  EXPECT_FALSE(QueryVersionBlock(block, "\\StringFileInfo\\040704B0\\ProductName"));
}

TEST(VersionBlock, KeysIgnoreCaseAndEmptyComponentsAreSkipped) {
  const Bytes block = Sample();
  // Windows compares keys without regard to case, and "\\a\\\\b" means "\\a\\b".
  EXPECT_TRUE(QueryVersionBlock(block, "\\stringfileinfo\\040904b0\\PRODUCTNAME"));
  EXPECT_TRUE(QueryVersionBlock(block, "\\\\VarFileInfo\\\\Translation\\"));
  EXPECT_FALSE(QueryVersionBlock(block, "\\StringFileInf"));
  EXPECT_FALSE(QueryVersionBlock(block, "\\StringFileInfoX"));
}

TEST(VersionBlock, ASiblingWithZeroLengthEndsTheSearch) {
  Bytes block = Sample();
  // CompanyName with wLength 0: the platform stops there instead of looping, so ProductName,
  // which follows, is not found.
  Put16(block, Find(block, u"CompanyName") - 6, 0);
  EXPECT_EQ(Text(block, "CompanyName"), "Orindel");
  EXPECT_EQ(Text(block, "ProductName"), "");
}

TEST(VersionBlock, AnOddLengthAdvancesToTheNextAlignedSibling) {
  Bytes block = Sample();
  const std::size_t company = Find(block, u"CompanyName") - 6;
  const std::uint16_t length =
      static_cast<std::uint16_t>(block[company] | (block[company + 1] << 8));
  Put16(block, company, static_cast<std::uint16_t>(length - 1));
  EXPECT_EQ(Text(block, "ProductName"), "Velmora");
}

TEST(VersionBlock, ARootShorterThanItsHeaderHasNoChildren) {
  Bytes block = Sample();
  Put16(block, 0, 4);
  EXPECT_FALSE(QueryVersionBlock(block, "\\VarFileInfo\\Translation"));
  EXPECT_EQ(Text(block, "ProductName"), "");
}

TEST(VersionBlock, EveryPrefixOfABlockIsReadSafely) {
  const Bytes full = Sample();
  for (std::size_t size = 0; size <= full.size(); ++size) {
    // A separate allocation of exactly `size` bytes, so that AddressSanitizer catches any
    // read past it.
    const std::unique_ptr<std::uint8_t[]> copy(new std::uint8_t[size + 1]);
    std::memcpy(copy.get(), full.data(), size);
    const std::span<const std::uint8_t> block(copy.get(), size);
    const std::string product = Text(block, "ProductName");
    // The text is cut at the end of the block at the latest.
    EXPECT_EQ(product, std::string("Velmora").substr(0, product.size())) << size;
    const auto translation = QueryVersionBlock(block, "\\VarFileInfo\\Translation");
    if (translation) {
      EXPECT_LE(translation->data, block.data() + block.size()) << size;
    }
  }
}

TEST(VersionBlock, LengthsClaimingMoreThanTheBlockAreClipped) {
  Bytes block = Sample();
  // Every wLength at its maximum and ProductName's text without terminator at the very end.
  const std::size_t product = Find(block, u"ProductName") - 6;
  Put16(block, 0, 0xFFFF);
  Put16(block, product, 0xFFFF);
  Put16(block, product + 2, 0xFFFF);
  block.resize(Find(block, u"Velmora") + 14);
  EXPECT_EQ(Text(block, "ProductName"), "Velmora");
  // A key that is not terminated inside the block is not a key.
  block.resize(Find(block, u"ProductName") + 6);
  EXPECT_EQ(Text(block, "ProductName"), "");
}

}  // namespace
}  // namespace velmora
