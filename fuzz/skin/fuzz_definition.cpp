// Definition text: parsing and building every record from arbitrary text.
#include <cstddef>
#include <cstdint>

#include "skin/SkinData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavlox::skin;
  // A version 0 package without pictures, followed by the text.
  std::vector<uint8_t> package = {0, 0, 0, 0, 1, 1, 0, 0, 0, 0};
  package.insert(package.end(), data, data + size);
  TskSkinData skin;
  try {
    skin.LoadInflated(package);
    if (skin.Empty()) __builtin_trap();
    for (auto& r : skin.ObjectList) {
      SkinIni out;
      r->SaveToIni(out, r->name);
    }
    for (auto& r : skin.CtrlList) {
      SkinIni out;
      r->SaveToIni(out, r->name);
      skin.FindControlRecord(r->name);
    }
  } catch (const EConvertError&) {
    if (!skin.Empty() || skin.Changing()) __builtin_trap();
  }
  return 0;
}
