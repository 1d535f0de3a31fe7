#include "metadata/version_block.h"

#include <algorithm>
#include <cstddef>

#include "core/text.h"

namespace velmora {
namespace {

constexpr std::size_t kNodeHeader = 6;  // wLength, wValueLength, wType

std::uint16_t Word(std::span<const std::uint8_t> block, std::size_t offset) {
  return static_cast<std::uint16_t>(block[offset] | (block[offset + 1] << 8));
}

constexpr std::size_t AlignUp(std::size_t offset) {
  return (offset + 3) & ~std::size_t{3};
}

// ASCII-only case folding: the keys of version resources are ASCII, and folding other
// characters would depend on a locale.
char16_t FoldCase(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? c + (u'a' - u'A') : c;
}

// One node of the tree, with its extent clipped to the block.
struct Node {
  std::size_t start = 0;
  std::size_t end = 0;      // start + wLength, at most the block's size
  std::size_t key_end = 0;  // offset of the key's terminating zero
  std::uint16_t value_length = 0;
  std::uint16_t type = 0;
};

// The node at `start`, or nullopt when its header or its key does not fit in the block.
std::optional<Node> NodeAt(std::span<const std::uint8_t> block, std::size_t start) {
  if (start > block.size() || block.size() - start < kNodeHeader) return std::nullopt;
  Node node;
  node.start = start;
  const std::size_t length = Word(block, start);
  node.end = std::min(block.size(), start + length);
  node.value_length = Word(block, start + 2);
  node.type = Word(block, start + 4);
  std::size_t offset = start + kNodeHeader;
  for (;; offset += 2) {
    if (offset + 2 > block.size()) return std::nullopt;  // key not terminated inside the block
    if (Word(block, offset) == 0) break;
  }
  node.key_end = offset;
  return node;
}

std::size_t ValueOffset(const Node& node) {
  return AlignUp(node.key_end + 2);
}

std::size_t ChildrenOffset(const Node& node) {
  const std::size_t value_bytes =
      node.type != 0 ? std::size_t{node.value_length} * 2 : node.value_length;
  return AlignUp(ValueOffset(node) + value_bytes);
}

bool KeyEquals(std::span<const std::uint8_t> block, const Node& node, std::u16string_view key) {
  const std::size_t key_chars = (node.key_end - node.start - kNodeHeader) / 2;
  if (key_chars != key.size()) return false;
  for (std::size_t i = 0; i < key_chars; ++i) {
    const auto c = static_cast<char16_t>(Word(block, node.start + kNodeHeader + 2 * i));
    if (FoldCase(c) != FoldCase(key[i])) return false;
  }
  return true;
}

std::optional<Node> FindChild(std::span<const std::uint8_t> block, const Node& parent,
                              std::u16string_view key) {
  std::size_t offset = ChildrenOffset(parent);
  while (offset < parent.end) {
    const std::optional<Node> child = NodeAt(block, offset);
    if (!child) return std::nullopt;
    if (KeyEquals(block, *child, key)) return child;
    // A zero length would never advance; the platform stops there too.
    if (child->end == child->start) return std::nullopt;
    offset = AlignUp(child->start + Word(block, child->start));
  }
  return std::nullopt;
}

}  // namespace

std::optional<VersionValue> QueryVersionBlock(std::span<const std::uint8_t> block,
                                              std::string_view sub_block) {
  std::optional<Node> node = NodeAt(block, 0);
  if (!node) return std::nullopt;
  std::size_t position = 0;
  while (position < sub_block.size()) {
    const std::size_t slash = std::min(sub_block.find('\\', position), sub_block.size());
    if (slash > position) {
      node = FindChild(block, *node, Utf8ToUtf16(sub_block.substr(position, slash - position)));
      if (!node) return std::nullopt;
    }
    position = slash + 1;
  }
  const std::size_t value = ValueOffset(*node);
  if (value > block.size()) return std::nullopt;
  return VersionValue{block.data() + value, node->value_length};
}

}  // namespace velmora
