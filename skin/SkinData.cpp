#include "skin/SkinData.h"

#include <zlib.h>

#include <algorithm>
#include <charconv>
#include <utility>

#include "skin/ByteReader.h"

namespace tavlox::skin {

// ---------------------------------------------------------------------------------------------
// zlib

std::vector<uint8_t> InflateBytes(std::span<const uint8_t> compressed) {
  z_stream zs{};
  if (inflateInit(&zs) != Z_OK) throw EDecompressionError();
  std::unique_ptr<z_stream, int (*)(z_stream*)> guard(&zs, &inflateEnd);
  zs.next_in = const_cast<Bytef*>(compressed.data());
  zs.avail_in = static_cast<uInt>(compressed.size());
  std::vector<uint8_t> out;
  // Room for a typical ratio up front saves most of the regrowing.
  out.reserve(std::min(kMaxInflatedPackage, compressed.size() * 8 + 4096));
  for (;;) {
    // Each step inflates into the next 4,096 bytes of the output.
    const size_t at = out.size();
    out.resize(at + 4096);
    zs.next_out = out.data() + at;
    zs.avail_out = 4096;
    const int rc = inflate(&zs, Z_NO_FLUSH);
    if (rc == Z_DATA_ERROR || rc == Z_NEED_DICT || rc == Z_MEM_ERROR || rc == Z_STREAM_ERROR)
      throw EDecompressionError();
    const size_t produced = 4096 - zs.avail_out;
    out.resize(at + produced);
    if (out.size() > kMaxInflatedPackage) throw EDecompressionError();
    if (rc == Z_STREAM_END) break;
    // No progress before the end of the stream: the data was cut short. Loading what came out
    // would pass a partial definition off as a whole skin, so it is damaged data.
    if (produced == 0) throw EDecompressionError();
  }
  return out;
}

std::vector<uint8_t> DeflateBytes(std::span<const uint8_t> data, int level) {
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  std::vector<uint8_t> out(size);
  if (compress2(out.data(), &size, data.data(), static_cast<uLong>(data.size()), level) != Z_OK)
    throw ECompressionError();
  out.resize(size);
  return out;
}

// ---------------------------------------------------------------------------------------------
// Package layout

namespace {

constexpr FixedPicture kV0[] = {fpMain, fpMask};
constexpr FixedPicture kV1[] = {fpMain, fpMask, fpRollUp, fpRollUpMask};
constexpr FixedPicture kV2[] = {fpMain, fpInactive, fpMask, fpRollUp, fpRollUpMask};
constexpr FixedPicture kV3[] = {fpMain, fpInactive, fpMask};

// Names of the [PICTURES] list are capped so that a wild count cannot run away.
constexpr int32_t kMaxPictureNames = 65536;

void AppendI32(std::vector<uint8_t>& out, int32_t v) {
  const auto u = static_cast<uint32_t>(v);
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(u >> (8 * i)));
}

// Splits text into lines at CR LF, CR or LF.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) {
      lines.push_back(text.substr(pos));
      break;
    }
    lines.push_back(text.substr(pos, end - pos));
    pos = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
  }
  return lines;
}

// Keys "0", "1", ... below `count` that the section actually has, in numeric order. Walking
// only the present keys gives the same entries as counting up to `count`, without a loop that
// a huge count could make endless.
std::vector<std::pair<int32_t, std::string>> ListEntries(const SkinIni& ini, std::string_view section, int32_t count) {
  std::vector<std::pair<int32_t, std::string>> out;
  if (count <= 0) return out;
  for (const std::string& key : ini.keys(section)) {
    if (key.empty() || (key.size() > 1 && key[0] == '0')) continue;
    int32_t index = 0;
    auto [p, ec] = std::from_chars(key.data(), key.data() + key.size(), index);
    if (ec != std::errc() || p != key.data() + key.size() || index < 0 || index >= count) continue;
    out.emplace_back(index, *ini.value(section, key));
  }
  std::sort(out.begin(), out.end());
  return out;
}

}  // namespace

std::span<const FixedPicture> FixedPicturesOfVersion(int32_t version) {
  switch (version) {
    case 0: return kV0;
    case 1: return kV1;
    case 2: return kV2;
    case 3: return kV3;
    default: return {};
  }
}

const char* FixedPictureKey(FixedPicture which) {
  static const char* const keys[] = {"picture", "inactivepicture", "mask", "rolluppicture", "rollupmask"};
  return keys[which];
}

std::vector<uint8_t> BuildPackage(std::string_view definitionText, int32_t packageVersion,
                                  const std::function<std::vector<uint8_t>(const std::string&)>& loadPicture) {
  if (packageVersion < 0 || packageVersion > 3) throw SkinError("unsupported package version");
  const SkinIni ini(definitionText);
  std::vector<uint8_t> out;
  AppendI32(out, packageVersion);
  auto writePicture = [&](const std::string& name) {
    const std::vector<uint8_t> file = loadPicture(name);
    ByteReader in(file);
    std::vector<uint8_t> encoded;
    DecodeBmp(in, {}, &encoded);
    out.insert(out.end(), encoded.begin(), encoded.end());
  };
  for (FixedPicture which : FixedPicturesOfVersion(packageVersion)) {
    const std::string name = ReadString(ini, "PICTURES", FixedPictureKey(which));
    out.push_back(name.empty() ? 1 : 0);
    if (!name.empty()) writePicture(name);
  }
  const int32_t count = std::max(0, ReadInteger(ini, "PICTURES", "activepicturescount", 0));
  AppendI32(out, count);
  for (int32_t i = 0; i < count; ++i) writePicture(ReadString(ini, "PICTURES", std::to_string(i)));
  for (std::string_view line : SplitLines(definitionText)) {
    out.insert(out.end(), line.begin(), line.end());
    out.push_back('\r');
    out.push_back('\n');
  }
  return out;
}

// ---------------------------------------------------------------------------------------------
// TskCompressedStoredSkin

TskCompressedStoredSkin::~TskCompressedStoredSkin() {
  for (TskSkinData* d : std::vector<TskSkinData*>(users_)) d->StoredSkinDestroyed(this);
}

void TskCompressedStoredSkin::ReadSknFile(const std::string& path) { ReadSknStream(ReadFileBytes(path)); }

void TskCompressedStoredSkin::ReadSknStream(std::span<const uint8_t> stream) {
  data_.clear();
  ByteReader in(stream);
  const int32_t version = in.readI32();
  if (version > 3) return;
  const int32_t length = in.readI32();
  if (length < 0) throw EReadError();
  auto bytes = in.take(static_cast<size_t>(length));
  data_.assign(bytes.begin(), bytes.end());
}

void TskCompressedStoredSkin::WriteSknStream(std::vector<uint8_t>& out) const {
  AppendI32(out, 2);
  AppendI32(out, static_cast<int32_t>(data_.size()));
  out.insert(out.end(), data_.begin(), data_.end());
}

void TskCompressedStoredSkin::WriteSknFile(const std::string& path) const {
  std::vector<uint8_t> out;
  WriteSknStream(out);
  WriteFileBytes(path, out);
}

bool TskCompressedStoredSkin::ImportSkinFolder(const std::string& definitionPath, int32_t packageVersion) {
  const std::vector<uint8_t> raw = ReadFileBytes(definitionPath);
  const std::string_view text(reinterpret_cast<const char*>(raw.data()), raw.size());
  const SkinIni ini(text);
  for (const char* section : {"VERSION", "PICTURES", "FORMINFO", "SKINOBJECTS", "SKINCONTROLS"})
    if (!ini.hasSection(section)) return false;
  const size_t slash = definitionPath.find_last_of("/\\");
  const std::string folder = slash == std::string::npos ? std::string() : definitionPath.substr(0, slash + 1);
  // Built completely before the stored bytes are replaced, so a failure loses nothing.
  std::vector<uint8_t> package = BuildPackage(text, packageVersion, [&](const std::string& name) {
    if (name.empty()) throw ESkinFileError("picture without a file name in [PICTURES]");
    return ReadFileBytes(folder + name);
  });
  data_ = DeflateBytes(package, Z_BEST_COMPRESSION);
  return true;
}

// ---------------------------------------------------------------------------------------------
// TskSkinData

TskSkinData::TskSkinData() { ClearAll(); }

TskSkinData::~TskSkinData() {
  if (storedSkin_) std::erase(storedSkin_->users_, this);
}

void TskSkinData::SetSkinnableForm(bool value) {
  if (value == skinnableForm_) return;
  skinnableForm_ = value;
  Broadcast(msgSkinnableFormChanged);
}

void TskSkinData::SetCompressedStoredSkin(TskCompressedStoredSkin* skin) {
  if (storedSkin_) std::erase(storedSkin_->users_, this);
  storedSkin_ = skin;
  if (!skin) return;
  skin->users_.push_back(this);
  LoadPackage(*skin);
}

void TskSkinData::StoredSkinDestroyed(TskCompressedStoredSkin* skin) {
  if (storedSkin_ == skin) storedSkin_ = nullptr;
}

void TskSkinData::AddObserver(SkinDataObserver* observer) {
  if (observer && std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
    observers_.push_back(observer);
}

void TskSkinData::RemoveObserver(SkinDataObserver* observer) { std::erase(observers_, observer); }

void TskSkinData::Broadcast(SkinMessage message) {
  // A copy, so an observer may unregister itself while being told.
  for (SkinDataObserver* o : std::vector<SkinDataObserver*>(observers_)) o->SkinNotify(*this, message);
}

const SkinPicture* TskSkinData::ActivePicture(int32_t index) const {
  if (index < 0 || static_cast<size_t>(index) >= pictures_.size()) return nullptr;
  return &pictures_[index];
}

void TskSkinData::ClearAll() {
  Areas.clear();
  ObjectList.clear();
  CtrlList.clear();
  pictures_.clear();
  PopupWindow = TskDataSkinPopupWindow();
  HintWindow = TskDataSkinHintWindow();
  FormInfo = TskDataSkinFormInfo();
  ActivePictureNames.clear();
  SkinColors.cbtnface = SystemColor(COLOR_INDEX_BTNFACE);
  SkinColors.cbtntext = SystemColor(COLOR_INDEX_BTNTEXT);
  SkinColors.cwindow = SystemColor(COLOR_INDEX_WINDOW);
  SkinColors.cwindowtext = SystemColor(COLOR_INDEX_WINDOWTEXT);
  SkinColors.chighlight = SystemColor(COLOR_INDEX_HIGHLIGHT);
  SkinColors.chighlighttext = SystemColor(COLOR_INDEX_HIGHLIGHTTEXT);
  SkinColors.cbtnhighlight = SystemColor(COLOR_INDEX_BTNHIGHLIGHT);
  SkinColors.cbtnshadow = SystemColor(COLOR_INDEX_BTNSHADOW);
  SkinColors.c3dlight = SystemColor(COLOR_INDEX_3DLIGHT);
  SkinColors.c3ddkshadow = SystemColor(COLOR_INDEX_3DDKSHADOW);
  for (SkinPicture& p : fixed_) p = SkinPicture();
  SkinName.clear();
  SkinAuthor.clear();
  AuthorEmail.clear();
  AuthorURL.clear();
  SkinComments.clear();
  PictureName.clear();
  MaskName.clear();
  RollUpPictureName.clear();
  RollUpMaskName.clear();
  ini_ = SkinIni();
  layout_ = PackageLayout();
}

void TskSkinData::LoadPackage(const TskCompressedStoredSkin& skin) {
  if (skin.IsEmpty()) return;
  LoadCompressed(skin.data_);
}

void TskSkinData::LoadCompressed(std::span<const uint8_t> compressed) { Load(compressed, true); }

void TskSkinData::LoadInflated(std::span<const uint8_t> package) { Load(package, false); }

void TskSkinData::Load(std::span<const uint8_t> bytes, bool compressed) {
  empty_ = true;
  changing_ = true;
  Broadcast(msgSkinBeforeChange);
  try {
    ClearAll();
    std::vector<uint8_t> inflated;
    std::span<const uint8_t> package = bytes;
    if (compressed) {
      inflated = InflateBytes(bytes);
      package = inflated;
    }
    if (!ParsePackage(package)) {
      changing_ = false;
      return;
    }
  } catch (...) {
    // Leaving the changing flag set would keep every frame from painting at all; cleared, they
    // draw their default look over the empty data.
    changing_ = false;
    throw;
  }
  empty_ = false;
  Broadcast(msgSkinChanged);
  changing_ = false;
  Broadcast(msgSkinAfterChange);
}

bool TskSkinData::ParsePackage(std::span<const uint8_t> package) {
  layout_.inflatedSize = package.size();
  ByteReader in(package);
  const int32_t version = in.readI32();
  layout_.version = version;
  // Only versions 0 to 3 are known; anything else leaves the data empty.
  if (version < 0 || version > 3) return false;

  for (FixedPicture which : FixedPicturesOfVersion(version)) {
    const size_t flagAt = in.position();
    const uint8_t absent = in.readU8();
    if (absent != 0) {
      fixed_[which] = SkinPicture();
      continue;
    }
    fixed_[which] = DecodeBmp(in, allocator_);
    layout_.fixed[which] = PackagePart{flagAt + 1, in.position() - flagAt - 1};
  }

  const int32_t count = in.readI32();
  layout_.pictureCount = count;
  for (int32_t i = 0; i < count; ++i) {
    const size_t at = in.position();
    pictures_.push_back(DecodeBmp(in, allocator_));
    layout_.pictures.push_back(PackagePart{at, in.position() - at});
  }

  const size_t textAt = in.position();
  auto text = in.rest();
  layout_.text = PackagePart{textAt, text.size()};
  ini_.parse(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
  ReadDefinition();
  return true;
}

void TskSkinData::ReadDefinition() {
  const SkinIni& ini = ini_;
  SkinName = ReadString(ini, "VERSION", "skinname");
  SkinAuthor = ReadString(ini, "VERSION", "skinauthor");
  AuthorEmail = ReadString(ini, "VERSION", "authoremail");
  AuthorURL = ReadString(ini, "VERSION", "authorurl");
  SkinComments = ReadString(ini, "VERSION", "skincomments");

  PictureName = ReadString(ini, "PICTURES", "picture");
  MaskName = ReadString(ini, "PICTURES", "mask");
  RollUpPictureName = ReadString(ini, "PICTURES", "rolluppicture");
  RollUpMaskName = ReadString(ini, "PICTURES", "rollupmask");
  const int32_t names = std::min(ReadInteger(ini, "PICTURES", "activepicturescount", 0), kMaxPictureNames);
  if (names > 0) {
    ActivePictureNames.assign(static_cast<size_t>(names), std::string());
    for (auto& [index, name] : ListEntries(ini, "PICTURES", names)) ActivePictureNames[index] = name;
  }

  ReadFormInfo();
  PopupWindow.LoadFromIni(ini, "POPUPWINDOW");
  HintWindow.LoadFromIni(ini, "HINTWINDOW");
  SkinColors.LoadFromIni(ini, "SKINCOLORS");

  for (auto& [index, entry] : ListEntries(ini, "SKINAREAS", ReadInteger(ini, "SKINAREAS", "count", 0))) {
    const size_t colon = entry.find(':');
    if (colon == std::string::npos) continue;  // not an area entry
    const auto n = ParseNumberList(std::string_view(entry).substr(colon + 1), 4);
    Areas.push_back(TskDataSkinArea{entry.substr(0, colon), SkinRect{n[0], n[1], n[2], n[3]}});
  }

  auto split = [](const std::string& entry) {
    const size_t colon = entry.find(':');
    if (colon == std::string::npos) return std::pair<std::string, std::string>();
    return std::pair(entry.substr(0, colon), entry.substr(colon + 1));
  };
  for (auto& [index, entry] : ListEntries(ini, "SKINOBJECTS", ReadInteger(ini, "SKINOBJECTS", "count", 0))) {
    auto [name, type] = split(entry);
    auto record = CreateObjectRecord(type, name);
    if (!record) continue;
    record->LoadFromIni(ini, name);
    ObjectList.push_back(std::move(record));
  }
  for (auto& [index, entry] : ListEntries(ini, "SKINCONTROLS", ReadInteger(ini, "SKINCONTROLS", "count", 0))) {
    auto [name, type] = split(entry);
    auto record = CreateControlRecord(type, name);
    if (!record) continue;
    record->LoadFromIni(ini, name);
    CtrlList.push_back(std::move(record));
  }
}

void TskSkinData::ReadFormInfo() {
  TskDataSkinFormInfo& f = FormInfo;
  f.LoadFromIni(ini_, "FORMINFO");
  if (!MaskName.empty()) {
    SkinRect& m = f.maskrectarea;
    const SkinRect& c = f.clientrect;
    if (m.isEmpty()) {
      m = c;
    } else {
      m.left = std::min(m.left, c.left);
      m.top = std::min(m.top, c.top);
      m.right = std::max(m.right, c.right);
      m.bottom = std::max(m.bottom, c.bottom);
    }
    auto fill = [](SkinPoint& hit, const SkinPoint& corner) {
      if (hit.x == 0 || hit.y == 0) hit = corner;
    };
    fill(f.hittestlefttoppoint, f.lefttoppoint);
    fill(f.hittestrighttoppoint, f.righttoppoint);
    fill(f.hittestleftbottompoint, f.leftbottompoint);
    fill(f.hittestrightbottompoint, f.rightbottompoint);
  }
  if (f.rightbottompoint.x != f.lefttoppoint.x && f.rightbottompoint.y != f.lefttoppoint.y) {
    const SkinRect& c = f.clientrect;
    f.lefttoppoint.x = std::max(f.lefttoppoint.x, c.left);
    f.lefttoppoint.y = std::max(f.lefttoppoint.y, c.top);
    f.righttoppoint.x = std::min(f.righttoppoint.x, c.right);
    f.righttoppoint.y = std::max(f.righttoppoint.y, c.top);
    f.leftbottompoint.x = std::max(f.leftbottompoint.x, c.left);
    f.leftbottompoint.y = std::min(f.leftbottompoint.y, c.bottom);
    f.rightbottompoint.x = std::min(f.rightbottompoint.x, c.right);
    f.rightbottompoint.y = std::min(f.rightbottompoint.y, c.bottom);
  }
}

namespace {
template <typename List>
int FindByName(const List& list, std::string_view name) {
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i]->name == name) return static_cast<int>(i);
  return -1;
}
}  // namespace

int TskSkinData::FindAreaRecord(std::string_view name) const {
  if (empty_) return -1;
  for (size_t i = 0; i < Areas.size(); ++i)
    if (Areas[i].name == name) return static_cast<int>(i);
  return -1;
}

int TskSkinData::FindObjectRecord(std::string_view name) const { return empty_ ? -1 : FindByName(ObjectList, name); }

int TskSkinData::FindControlRecord(std::string_view name) const { return empty_ ? -1 : FindByName(CtrlList, name); }

}  // namespace tavlox::skin
