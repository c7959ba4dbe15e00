// Where the Windows program keeps our skin: the compressed package bytes (the bare zlib stream,
// as the main window's stored skin holds them) as a resource of type RCDATA under this name.
#pragma once

#include <cstdint>
#include <vector>

namespace tavlox::skin {

inline constexpr const char* kSkinResourceName = "TAVLOX_SKIN";

#ifdef _WIN32
// The bytes of that resource in the running program, or nothing when it has none; given to
// TskCompressedStoredSkin::ReadCompressedData they make the main window's stored skin.
std::vector<uint8_t> ReadSkinResource();
#endif

}  // namespace tavlox::skin
