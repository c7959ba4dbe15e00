#include "http/HeaderList.h"

#include "http/TextUtil.h"

using nettext::SameText;
using nettext::Trim;

namespace {
bool IsContinuation(const std::string& line) { return !line.empty() && (line[0] == ' ' || line[0] == '\t'); }
}  // namespace

std::string TNetHeaderList::NameOf(const std::string& line) {
  size_t colon = line.find(':');
  return colon == std::string::npos ? std::string() : line.substr(0, colon);
}

size_t TNetHeaderList::IndexOfName(const std::string& name) const {
  for (size_t i = 0; i < Lines.size(); ++i)
    if (SameText(NameOf(Lines[i]), name)) return i;
  return std::string::npos;
}

size_t TNetHeaderList::ContinuationEnd(size_t index) const {
  size_t j = index + 1;
  while (j < Lines.size() && IsContinuation(Lines[j])) ++j;
  return j;
}

std::string TNetHeaderList::Unfolded(size_t index) const {
  const std::string& line = Lines[index];
  size_t colon = line.find(':');
  std::string v = colon == std::string::npos ? line : line.substr(colon + 1);
  for (size_t j = index + 1; j < Lines.size() && IsContinuation(Lines[j]); ++j) v += " " + Trim(Lines[j]);
  return Trim(v);
}

std::string TNetHeaderList::ValueOf(const std::string& name) const {
  size_t i = IndexOfName(name);
  return i == std::string::npos ? std::string() : Unfolded(i);
}

void TNetHeaderList::ValuesOf(const std::string& name, std::vector<std::string>& values) const {
  for (size_t i = 0; i < Lines.size(); ++i)
    if (!IsContinuation(Lines[i]) && SameText(NameOf(Lines[i]), name)) values.push_back(Unfolded(i));
}

void TNetHeaderList::SetHeader(const std::string& name, const std::string& value) {
  size_t i = IndexOfName(name);
  if (value.empty()) {
    if (i != std::string::npos) Lines.erase(Lines.begin() + i, Lines.begin() + ContinuationEnd(i));
    return;
  }
  std::vector<std::string> pieces =
      FoldHeaderLine(name + ": " + value, FoldWidth > 0 ? size_t(FoldWidth) : 0, name.size() + 2);
  if (i == std::string::npos) {
    Lines.insert(Lines.end(), pieces.begin(), pieces.end());
  } else {
    Lines.erase(Lines.begin() + i, Lines.begin() + ContinuationEnd(i));
    Lines.insert(Lines.begin() + i, pieces.begin(), pieces.end());
  }
}

void TNetHeaderList::AddText(const std::string& text) {
  size_t start = 0;
  while (start < text.size()) {
    size_t lf = text.find('\n', start);
    size_t end = lf == std::string::npos ? text.size() : lf;
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    Lines.push_back(line);
    if (lf == std::string::npos) break;
    start = lf + 1;
  }
}

std::vector<std::string> FoldHeaderLine(const std::string& text, size_t width, size_t firstBreakFrom) {
  std::vector<std::string> pieces;
  std::string rest = text;
  bool first = true;
  while (width > 0 && rest.size() > width) {
    // The last breakable place at or before the width; a later piece's leading blank is not one.
    size_t brk = std::string::npos;
    bool quoted = false;
    for (size_t i = 0; i < rest.size() && i <= width; ++i) {
      char c = rest[i];
      if (c == '"') quoted = !quoted;
      else if (!quoted && (c == ' ' || c == '\t' || c == ',') && (first ? i >= firstBreakFrom : i > 0)) brk = i;
    }
    if (brk == std::string::npos) break;
    // A comma stays at the end of its piece; a blank or TAB becomes the break itself.
    size_t pieceEnd = rest[brk] == ',' ? brk + 1 : brk;
    std::string piece = nettext::TrimRight(rest.substr(0, pieceEnd));
    std::string tail = nettext::TrimLeft(rest.substr(pieceEnd));
    if (piece.empty() || (!first && piece == " ") || tail.empty()) break;
    pieces.push_back(piece);
    rest = " " + tail;
    first = false;
  }
  pieces.push_back(first ? rest : nettext::TrimRight(rest));
  return pieces;
}
