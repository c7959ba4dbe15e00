// The raw header lines of a request or a response: lookup by name without regard to case,
// continuation lines unfolded on reading and long lines folded on writing.
#pragma once

#include <string>
#include <vector>

class TNetHeaderList {
 public:
  explicit TNetHeaderList(int foldWidth = 78) : FoldWidth(foldWidth) {}

  // The name of a line: its text before the first colon, untrimmed ("" without a colon).
  static std::string NameOf(const std::string& line);
  // The unfolded, trimmed value of the first line with that name, or "".
  std::string ValueOf(const std::string& name) const;
  // Appends the unfolded value of every line with that name, in order.
  void ValuesOf(const std::string& name, std::vector<std::string>& values) const;
  // Replaces the first line with that name (keeping its place), appends a new one, or, with an
  // empty value, deletes the line and its continuation lines.
  void SetHeader(const std::string& name, const std::string& value);

  void Add(const std::string& line) { Lines.push_back(line); }
  void Clear() { Lines.clear(); }
  size_t Count() const { return Lines.size(); }
  const std::string& operator[](size_t i) const { return Lines[i]; }
  // Splits a text at CR LF (or LF) into lines and appends them.
  void AddText(const std::string& text);

  int FoldWidth;
  std::vector<std::string> Lines;

 private:
  size_t IndexOfName(const std::string& name) const;
  size_t ContinuationEnd(size_t index) const;
  std::string Unfolded(size_t index) const;
};

// Breaks a text longer than the width into pieces at a TAB, blank or comma outside double quotes;
// every piece after the first begins with one blank. A text with no such place stays whole.
// The first piece is broken no earlier than firstBreakFrom (the start of a header's value).
std::vector<std::string> FoldHeaderLine(const std::string& text, size_t width, size_t firstBreakFrom = 0);
