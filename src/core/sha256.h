// SHA-256, for deriving short fixed-length names from long texts.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace velmora {

std::array<std::uint8_t, 32> Sha256(std::span<const std::uint8_t> data);

// Lower-case hex of the first `bytes` bytes of the digest.
std::string Sha256Hex(std::span<const std::uint8_t> data, std::size_t bytes = 32);

}  // namespace velmora
