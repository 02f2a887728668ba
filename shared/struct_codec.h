#pragma once
// The private-profile struct encoding: every byte as two upper-case hex
// digits, then two hex digits of the 8-bit sum of all bytes. Kept here as
// pure code so files can be checked byte for byte and decoded anywhere.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace gm {

std::string EncodeStruct(const void* data, std::size_t size);

// Fills `out` only when `text` is exactly 2*size+2 hex digits (either case)
// and its checksum matches; otherwise `out` is left untouched.
[[nodiscard]] bool DecodeStruct(std::string_view text, void* out, std::size_t size);

} // namespace gm
