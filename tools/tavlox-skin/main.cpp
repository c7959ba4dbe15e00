// tavlox-skin: pack a skin folder, unpack a ".skn" file, or describe a package as JSON.
//
//   tavlox-skin pack [--version N] [--compressed OUT.z] DEFINITION_FILE OUT.skn
//   tavlox-skin unpack IN.skn DIR
//   tavlox-skin info [--compressed] [--records] FILE
//
// The JSON of "info" is read by other tools; its members and their forms are fixed.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "skin/SkinData.h"

using namespace tavlox::skin;

namespace {

// ---------------------------------------------------------------------------------------------
// JSON output

class Json {
 public:
  std::string out;
  void str(std::string_view s) {
    before();
    quoted(s);
  }
  void num(long long v) {
    before();
    out += std::to_string(v);
  }
  void boolean(bool b) {
    before();
    out += b ? "true" : "false";
  }
  void null() {
    before();
    out += "null";
  }
  void key(const char* k) {
    before();
    quoted(k);
    out += ':';
    afterKey_ = true;
  }
  void open(char c) {
    before();
    out += c;
    first_.push_back(true);
  }
  void close(char c) {
    out += c;
    first_.pop_back();
  }

 private:
  // Separates a value from the one before it in the same container.
  void before() {
    if (afterKey_) {
      afterKey_ = false;
      return;
    }
    if (first_.empty()) return;
    if (!first_.back()) out += ',';
    first_.back() = false;
  }
  void quoted(std::string_view s) {
    out += '"';
    size_t i = 0;
    while (i < s.size()) {
      const auto c = static_cast<unsigned char>(s[i]);
      if (c == '"' || c == '\\') {
        out += '\\';
        out += static_cast<char>(c);
        ++i;
        continue;
      }
      if (c >= 0x20 && c < 0x80) {
        out += static_cast<char>(c);
        ++i;
        continue;
      }
      const size_t n = c >= 0x80 ? Utf8Length(s, i) : 0;
      if (n > 0) {
        out.append(s.substr(i, n));
        i += n;
        continue;
      }
      // Control characters, and bytes that are not UTF-8 (an ANSI code page text): by value.
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
      ++i;
    }
    out += '"';
  }
  static size_t Utf8Length(std::string_view s, size_t i) {
    const auto c = static_cast<unsigned char>(s[i]);
    size_t n = c >= 0xF0 && c <= 0xF4 ? 4 : c >= 0xE0 && c < 0xF0 ? 3 : c >= 0xC2 && c < 0xE0 ? 2 : 0;
    if (n == 0 || i + n > s.size()) return 0;
    for (size_t k = 1; k < n; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 0;
    return n;
  }
  std::vector<bool> first_;
  bool afterKey_ = false;
};

void PointJson(Json& j, const SkinPoint& p) {
  j.open('[');
  j.num(p.x);
  j.num(p.y);
  j.close(']');
}

void RectJson(Json& j, const SkinRect& r) {
  j.open('[');
  for (int32_t v : {r.left, r.top, r.right, r.bottom}) {
    j.num(v);
  }
  j.close(']');
}

std::string Lower(const char* k) {
  std::string s(k);
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

// Every key of a record as a JSON member, by its lower-case name.
class JsonFields final : public FieldVisitor {
 public:
  explicit JsonFields(Json& j) : j_(j) {}
  void integer(const char* k, int32_t& v, int32_t) override { key(k); j_.num(v); }
  void pictureIndex(const char* k, int32_t& v) override { key(k); j_.num(v); }
  void color(const char* k, SkinColor& v) override { key(k); j_.num(v); }
  void boolean(const char* k, bool& v) override { key(k); j_.boolean(v); }
  void point(const char* k, SkinPoint& v) override { key(k); PointJson(j_, v); }
  void rect(const char* k, SkinRect& v) override { key(k); RectJson(j_, v); }
  void string(const char* k, std::string& v, const char*) override { key(k); j_.str(v); }
  void fontStyle(const char* k, uint8_t& v) override {
    key(k);
    j_.open('[');
    const std::pair<uint8_t, const char*> names[] = {
        {fsBold, "bold"}, {fsItalic, "italic"}, {fsUnderline, "underline"}, {fsStrikeOut, "strikeout"}};
    for (auto& [bit, name] : names)
      if (v & bit) {
        j_.str(name);
      }
    j_.close(']');
  }
  void alignment(const char* k, SkinAlignment& v) override {
    key(k);
    j_.str(v == SkinAlignment::LeftJustify ? "left" : v == SkinAlignment::Center ? "center" : "right");
  }
  void stretchType(const char* k, StretchType& v) override {
    key(k);
    j_.str(v == StretchType::Full ? "full" : v == StretchType::Vert ? "vert" : "horz");
  }
  void morphKind(const char* k, MorphKind& v) override { key(k); j_.num(static_cast<int>(v)); }
  void inactiveEffect(const char* k, InactiveEffect& v) override { key(k); j_.num(static_cast<int>(v)); }
  void command(const char* k, SkinCommand& v) override { key(k); j_.num(static_cast<int>(v)); }
  void framesPlacement(const char* k, FramesPlacement& v) override {
    key(k);
    j_.str(v == FramesPlacement::Horizontal ? "horizontal" : "vertical");
  }
  void regulatorKind(const char* k, RegulatorKind& v) override {
    key(k);
    j_.str(v == RegulatorKind::Round ? "round" : v == RegulatorKind::Horizontal ? "horizontal" : "vertical");
  }
  void gaugeKind(const char* k, GaugeKind& v) override {
    key(k);
    j_.str(v == GaugeKind::Horizontal ? "horizontal" : "vertical");
  }

 private:
  void key(const char* k) {
    name_ = Lower(k);
    j_.key(name_.c_str());
  }
  Json& j_;
  std::string name_;
};

void RecordJson(Json& j, SkinRecord& r, bool withFields) {
  j.open('{');
  j.key("name");
  j.str(r.name);
  j.key("class");
  j.str(r.className());
  if (withFields) {
    j.key("fields");
    j.open('{');
    JsonFields f(j);
    r.visitFields(f);
    j.close('}');
  }
  j.close('}');
}

void PictureJson(Json& j, const SkinPicture& p) {
  j.open('{');
  j.key("width"); j.num(p.width());
  j.key("height"); j.num(p.height());
  j.key("bits"); j.num(p.bits());
  j.close('}');
}

std::string InfoJson(TskSkinData& d, bool ok, const std::string* error, bool records) {
  const PackageLayout& layout = d.Layout();
  Json j;
  j.open('{');
  j.key("ok"); j.boolean(ok);
  j.key("error");
  if (error) j.str(*error);
  else j.null();
  j.key("version");
  if (layout.version) j.num(*layout.version);
  else j.null();
  j.key("fixed");
  j.open('{');
  const char* names[] = {"main", "inactive", "mask", "rollup", "rollupmask"};
  for (int i = 0; i < kFixedPictureCount; ++i) {
    j.key(names[i]);
    const SkinPicture& p = d.FixedPictureOf(static_cast<FixedPicture>(i));
    if (p.empty()) j.null();
    else PictureJson(j, p);
  }
  j.close('}');
  j.key("pictures");
  j.open('[');
  for (const SkinPicture& p : d.ActivePictures()) {
    PictureJson(j, p);
  }
  j.close(']');
  j.key("text_offset");
  if (layout.text) j.num(static_cast<long long>(layout.text->offset));
  else j.null();
  j.key("text_length");
  if (layout.text) j.num(static_cast<long long>(layout.text->length));
  else j.null();
  j.key("skin");
  j.open('{');
  j.key("name"); j.str(d.SkinName);
  j.key("author"); j.str(d.SkinAuthor);
  j.key("email"); j.str(d.AuthorEmail);
  j.key("url"); j.str(d.AuthorURL);
  j.key("comments"); j.str(d.SkinComments);
  j.close('}');
  {
    j.key("forminfo");
    j.open('{');
    JsonFields f(j);
    d.FormInfo.visitFields(f);
    j.close('}');
    j.key("colors");
    j.open('{');
    d.SkinColors.visitFields(f);
    j.close('}');
  }
  j.key("areas");
  j.open('[');
  for (const TskDataSkinArea& a : d.Areas) {
    j.open('{');
    j.key("name"); j.str(a.name);
    j.key("rect"); RectJson(j, a.rect);
    j.close('}');
  }
  j.close(']');
  j.key("objects");
  j.open('[');
  for (auto& r : d.ObjectList) RecordJson(j, *r, records);
  j.close(']');
  j.key("controls");
  j.open('[');
  for (auto& r : d.CtrlList) RecordJson(j, *r, records);
  j.close(']');
  j.close('}');
  return j.out;
}

int Usage() {
  std::fprintf(stderr,
               "usage: tavlox-skin pack [--version N] [--compressed OUT] DEFINITION_FILE OUT.skn\n"
               "       tavlox-skin unpack IN.skn DIR\n"
               "       tavlox-skin info [--compressed] [--records] FILE\n");
  return 2;
}

int Info(const std::vector<std::string>& args) {
  bool compressed = false, records = false;
  std::string file;
  for (const std::string& a : args) {
    if (a == "--compressed") compressed = true;
    else if (a == "--records") records = true;
    else if (!a.empty() && a[0] == '-') return Usage();
    else if (file.empty()) file = a;
    else return Usage();
  }
  if (file.empty()) return Usage();
  TskSkinData data;
  bool ok = false;
  std::string error;
  try {
    if (compressed) {
      data.LoadCompressed(ReadFileBytes(file));
    } else {
      TskCompressedStoredSkin stored;
      stored.ReadSknFile(file);
      if (stored.IsEmpty()) throw SkinError("no skin data in the file");
      data.SetCompressedStoredSkin(&stored);
      data.SetCompressedStoredSkin(nullptr);
    }
    if (data.Empty()) throw SkinError("unsupported package version " + std::to_string(data.Layout().version.value_or(0)));
    ok = true;
  } catch (const std::exception& e) {
    error = e.what();
  }
  std::printf("%s\n", InfoJson(data, ok, ok ? nullptr : &error, records).c_str());
  return ok ? 0 : 1;
}

int Pack(const std::vector<std::string>& args) {
  int32_t version = 2;
  std::string compressedOut;
  std::vector<std::string> files;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--version" && i + 1 < args.size()) {
      auto v = ParseSkinInteger(args[++i]);
      if (!v || *v < 0 || *v > 3) return Usage();
      version = *v;
    } else if (args[i] == "--compressed" && i + 1 < args.size()) {
      compressedOut = args[++i];
    } else if (!args[i].empty() && args[i][0] == '-') {
      return Usage();
    } else {
      files.push_back(args[i]);
    }
  }
  if (files.size() != 2) return Usage();
  try {
    TskCompressedStoredSkin stored;
    if (!stored.ImportSkinFolder(files[0], version)) {
      std::fprintf(stderr,
                   "tavlox-skin: %s lacks one of the sections [VERSION], [PICTURES], [FORMINFO], [SKINOBJECTS], "
                   "[SKINCONTROLS]\n",
                   files[0].c_str());
      return 1;
    }
    stored.WriteSknFile(files[1]);
    if (!compressedOut.empty()) WriteFileBytes(compressedOut, stored.CompressedData());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tavlox-skin: %s\n", e.what());
    return 1;
  }
  return 0;
}

// A file name from the definition text, usable only when it stays inside the target folder.
bool SafeFileName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  return name.find_first_of("/\\:") == std::string::npos && name.find('\0') == std::string::npos;
}

int Unpack(const std::vector<std::string>& args) {
  if (args.size() != 2) return Usage();
  try {
    TskCompressedStoredSkin stored;
    stored.ReadSknFile(args[0]);
    if (stored.IsEmpty()) throw SkinError("no skin data in the file");
    const std::vector<uint8_t> package = stored.InflateTo();
    TskSkinData data;
    data.LoadInflated(package);
    if (data.Empty()) throw SkinError("unsupported package version " + std::to_string(data.Layout().version.value_or(0)));
    const PackageLayout& layout = data.Layout();
    const std::filesystem::path dir(args[1]);
    std::filesystem::create_directories(dir);

    std::set<std::string> used{"skin.ini"};
    auto write = [&](const PackagePart& part, std::string name, const std::string& fallback) {
      if (!SafeFileName(name) || used.count(name)) name = fallback;
      used.insert(name);
      ByteReader in(std::span<const uint8_t>(package).subspan(part.offset, part.length));
      std::vector<uint8_t> bytes;
      DecodeBmp(in, {}, &bytes);
      WriteFileBytes((dir / name).string(), bytes);
    };
    for (int i = 0; i < kFixedPictureCount; ++i) {
      if (!layout.fixed[i]) continue;
      const char* key = FixedPictureKey(static_cast<FixedPicture>(i));
      write(*layout.fixed[i], ReadString(data.Definition(), "PICTURES", key), std::string(key) + ".bmp");
    }
    for (size_t i = 0; i < layout.pictures.size(); ++i) {
      const std::string name = i < data.ActivePictureNames.size() ? data.ActivePictureNames[i] : std::string();
      write(layout.pictures[i], name, std::to_string(i) + ".bmp");
    }
    WriteFileBytes((dir / "skin.ini").string(), std::span<const uint8_t>(package).subspan(layout.text->offset, layout.text->length));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tavlox-skin: %s\n", e.what());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string command = argv[1];
  std::vector<std::string> args(argv + 2, argv + argc);
  if (command == "info") return Info(args);
  if (command == "pack") return Pack(args);
  if (command == "unpack") return Unpack(args);
  return Usage();
}
