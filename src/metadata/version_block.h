// The portable equivalent of VerQueryValueW: walks a VS_VERSIONINFO tree in memory.
//
// Every node is { WORD wLength; WORD wValueLength; WORD wType; WCHAR szKey[]; padding to a
// 32-bit boundary; value; padding; children }, little-endian, with the children running up to
// wLength bytes from the node's start. wValueLength counts characters when wType is 1 (text)
// and bytes otherwise. The walk trusts none of these fields: it never reads outside the block,
// stops at a zero wLength and advances by at least four bytes per sibling, so it ends on any
// input.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "metadata/version_source.h"

namespace velmora {

// The value at `sub_block` in `block`: path components are separated by backslashes, empty
// components are skipped (so "\" names the root's value, the fixed block), keys compare
// without regard to ASCII case. nullopt when a component is not found.
std::optional<VersionValue> QueryVersionBlock(std::span<const std::uint8_t> block,
                                              std::string_view sub_block);

}  // namespace velmora
