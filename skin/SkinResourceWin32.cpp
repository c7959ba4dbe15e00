#include "skin/SkinResource.h"

#include <windows.h>

namespace tavlox::skin {

std::vector<uint8_t> ReadSkinResource() {
  // Resources of the executable need no freeing; the pointer stays valid for the process.
  HRSRC info = FindResourceA(nullptr, kSkinResourceName, MAKEINTRESOURCEA(10) /* RT_RCDATA */);
  if (!info) return {};
  HGLOBAL handle = LoadResource(nullptr, info);
  const DWORD size = SizeofResource(nullptr, info);
  const auto* bytes = handle ? static_cast<const uint8_t*>(LockResource(handle)) : nullptr;
  if (!bytes || size == 0) return {};
  return std::vector<uint8_t>(bytes, bytes + size);
}

}  // namespace tavlox::skin
