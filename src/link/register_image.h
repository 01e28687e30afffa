// The logger's holding registers 0 to 200 as one snapshot.
#pragma once

#include <array>
#include <cstdint>

namespace virelo::link {

inline constexpr int kImageRegisterCount = 201;
inline constexpr int kIdentityRegister = 200;
inline constexpr std::int16_t kIdentityValue = 32;

// Word k holds holding register k.
using RegisterImage = std::array<std::int16_t, kImageRegisterCount>;

}  // namespace virelo::link
