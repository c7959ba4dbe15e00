// The stored skin (compressed package bytes) and the skin data that loads it: pictures,
// definition text, frame geometry, colours and the named records that skinned windows use.
#pragma once

#include <array>
#include <functional>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "skin/SkinIni.h"
#include "skin/SkinPicture.h"
#include "skin/SkinRecords.h"
#include "skin/SkinTypes.h"

namespace tavlox::skin {

// Inflates a zlib stream in pieces of 4,096 bytes until the stream ends. Damaged data, and a
// stream cut short before its end, throw EDecompressionError.
std::vector<uint8_t> InflateBytes(std::span<const uint8_t> compressed);
// Deflates at the given level (9 = best compression) into a zlib stream.
std::vector<uint8_t> DeflateBytes(std::span<const uint8_t> data, int level = 9);
// The inflater refuses to produce more than this, so that a hostile stream cannot exhaust memory.
constexpr size_t kMaxInflatedPackage = size_t{256} << 20;

// Fixed pictures of a package, in the order of the skin data's fields.
enum FixedPicture : int { fpMain = 0, fpInactive, fpMask, fpRollUp, fpRollUpMask, kFixedPictureCount };
// The fixed pictures each package version carries, in stream order; empty for an unknown version.
std::span<const FixedPicture> FixedPicturesOfVersion(int32_t version);
// The [PICTURES] key naming each fixed picture.
const char* FixedPictureKey(FixedPicture which);

class TskSkinData;

// Holds the compressed package bytes exactly as the form stores them ("CompressedData").
class TskCompressedStoredSkin {
 public:
  TskCompressedStoredSkin() = default;
  ~TskCompressedStoredSkin();
  TskCompressedStoredSkin(const TskCompressedStoredSkin&) = delete;
  TskCompressedStoredSkin& operator=(const TskCompressedStoredSkin&) = delete;

  std::string Description;
  std::string FileName;            // the uncompressed skin's definition file (design use)
  std::string CompressedFileName;  // a compressed ".skn" file

  // Form streaming of "CompressedData": bytes in and out verbatim.
  void ReadCompressedData(std::span<const uint8_t> bytes) { data_.assign(bytes.begin(), bytes.end()); }
  std::span<const uint8_t> CompressedData() const { return data_; }

  bool IsEmpty() const { return data_.empty(); }
  // Inflates the stored bytes.
  std::vector<uint8_t> InflateTo() const { return InflateBytes(data_); }

  // ".skn": int32 version (3 or less), int32 length, that many bytes of zlib stream. A newer
  // version leaves the stored bytes empty.
  void ReadSknFile(const std::string& path);
  void ReadSknStream(std::span<const uint8_t> stream);
  void WriteSknStream(std::vector<uint8_t>& out) const;
  void WriteSknFile(const std::string& path) const;

  // Builds a package from a definition file and the BMP files beside it and stores it
  // compressed. `packageVersion` (0 to 3) selects the fixed pictures written. Returns false and
  // changes nothing when the definition lacks one of the main sections; a missing or invalid
  // picture throws and also leaves the stored bytes as they were.
  bool ImportSkinFolder(const std::string& definitionPath, int32_t packageVersion = 2);

 private:
  friend class TskSkinData;
  std::vector<uint8_t> data_;
  std::vector<TskSkinData*> users_;  // skin datas referring to this one, cleared on destruction
};

// Builds the inflated package from a definition text and the encoded BMP files it names.
// `loadPicture` is given a file name from [PICTURES] and returns the BMP file's bytes.
std::vector<uint8_t> BuildPackage(std::string_view definitionText, int32_t packageVersion,
                                  const std::function<std::vector<uint8_t>(const std::string&)>& loadPicture);

// Where each part of the last package lay in the inflated stream (for inspection tools).
struct PackagePart {
  size_t offset = 0;
  size_t length = 0;
  friend bool operator==(const PackagePart&, const PackagePart&) = default;
};
struct PackageLayout {
  size_t inflatedSize = 0;
  std::optional<int32_t> version;
  std::array<std::optional<PackagePart>, kFixedPictureCount> fixed;
  std::optional<int32_t> pictureCount;
  std::vector<PackagePart> pictures;
  std::optional<PackagePart> text;
};

// Receives the load notifications (msgSkinBeforeChange, msgSkinChanged, msgSkinAfterChange,
// msgSkinStringsChanged, msgSkinnableFormChanged), synchronously and in order.
class SkinDataObserver {
 public:
  virtual ~SkinDataObserver() = default;
  virtual void SkinNotify(TskSkinData& sender, SkinMessage message) = 0;
};

class TskSkinData {
 public:
  TskSkinData();
  ~TskSkinData();
  TskSkinData(const TskSkinData&) = delete;
  TskSkinData& operator=(const TskSkinData&) = delete;

  // Published properties.
  bool SkinnableForm() const { return skinnableForm_; }
  void SetSkinnableForm(bool value);  // broadcasts msgSkinnableFormChanged
  bool EnableSkinEffects = true;
  int32_t SkinIndex = 0;
  TskCompressedStoredSkin* CompressedStoredSkin() const { return storedSkin_; }
  // Setting a stored skin loads its package at once.
  void SetCompressedStoredSkin(TskCompressedStoredSkin* skin);

  // Loads the package of `skin` (nothing at all when it holds no bytes). Errors propagate; the
  // data then stays empty.
  void LoadPackage(const TskCompressedStoredSkin& skin);
  // The same from compressed bytes.
  void LoadCompressed(std::span<const uint8_t> compressed);
  // The same from an inflated package (no inflation step).
  void LoadInflated(std::span<const uint8_t> package);

  void AddObserver(SkinDataObserver* observer);
  void RemoveObserver(SkinDataObserver* observer);
  // Memory for decoded pictures (e.g. DIB sections); default: the heap.
  void SetPixelAllocator(PixelAllocator allocator) { allocator_ = std::move(allocator); }

  // True until a package has been loaded completely.
  bool Empty() const { return empty_; }
  // True while a load is in progress.
  bool Changing() const { return changing_; }

  // Pictures.
  const SkinPicture& Picture() const { return fixed_[fpMain]; }
  const SkinPicture& InActivePicture() const { return fixed_[fpInactive]; }
  const SkinPicture& Mask() const { return fixed_[fpMask]; }
  const SkinPicture& RollUpPicture() const { return fixed_[fpRollUp]; }
  const SkinPicture& RollUpMask() const { return fixed_[fpRollUpMask]; }
  const SkinPicture& FixedPictureOf(FixedPicture which) const { return fixed_[which]; }
  const std::vector<SkinPicture>& ActivePictures() const { return pictures_; }
  // Indexed picture, or null when the index is out of range.
  const SkinPicture* ActivePicture(int32_t index) const;

  // [VERSION]
  std::string SkinName, SkinAuthor, AuthorEmail, AuthorURL, SkinComments;
  // [PICTURES]
  std::string PictureName, MaskName, RollUpPictureName, RollUpMaskName;
  std::vector<std::string> ActivePictureNames;

  TskDataSkinFormInfo FormInfo;
  TskDataSkinPopupWindow PopupWindow;
  TskDataSkinHintWindow HintWindow;
  TskSkinColors SkinColors;
  std::vector<TskDataSkinArea> Areas;
  std::vector<std::unique_ptr<TskDataSkinObject>> ObjectList;
  std::vector<std::unique_ptr<TskDataSkinControl>> CtrlList;
  // The definition text as parsed by the last load.
  const SkinIni& Definition() const { return ini_; }
  const PackageLayout& Layout() const { return layout_; }

  // First record with exactly this name (case-sensitive), or -1 (also while empty).
  int FindAreaRecord(std::string_view name) const;
  int FindObjectRecord(std::string_view name) const;
  int FindControlRecord(std::string_view name) const;
  // The record at `index` when it exists and is of class T (or derives from it), else null.
  template <typename T>
  T* ControlRecordAs(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= CtrlList.size()) return nullptr;
    return dynamic_cast<T*>(CtrlList[index].get());
  }
  template <typename T>
  T* ObjectRecordAs(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= ObjectList.size()) return nullptr;
    return dynamic_cast<T*>(ObjectList[index].get());
  }

 private:
  friend class TskCompressedStoredSkin;
  void Broadcast(SkinMessage message);
  void ClearAll();
  void Load(std::span<const uint8_t> bytes, bool compressed);
  bool ParsePackage(std::span<const uint8_t> package);
  void ReadDefinition();
  void ReadFormInfo();
  void StoredSkinDestroyed(TskCompressedStoredSkin* skin);

  bool skinnableForm_ = true;
  bool empty_ = true;
  bool changing_ = false;
  TskCompressedStoredSkin* storedSkin_ = nullptr;
  std::vector<SkinDataObserver*> observers_;
  PixelAllocator allocator_;
  std::array<SkinPicture, kFixedPictureCount> fixed_;
  std::vector<SkinPicture> pictures_;
  SkinIni ini_;
  PackageLayout layout_;
};

}  // namespace tavlox::skin
