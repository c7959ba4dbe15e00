// Where the Windows program keeps our skin: the compressed package bytes (the bare zlib stream,
// as the main window's stored skin holds them) as a resource of type RCDATA under this name.
#pragma once

namespace tavlox::skin {

inline constexpr const char* kSkinResourceName = "TAVLOX_SKIN";

}  // namespace tavlox::skin
