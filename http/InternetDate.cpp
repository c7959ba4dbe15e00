#include "http/InternetDate.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "http/TextUtil.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {
const char* const kDays[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const kMonthsLong[12] = {"January", "February", "March",     "April",   "May",      "June",
                                     "July",    "August",   "September", "October", "November", "December"};

// Days from 1970-01-01 to the given civil date (proleptic Gregorian).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = unsigned(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + int64_t(doe) - 719468;
}
void CivilFromDays(int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = unsigned(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t yy = int64_t(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = int(doy - (153 * mp + 2) / 5 + 1);
  m = int(mp < 10 ? mp + 3 : mp - 9);
  y = int(yy + (m <= 2));
}
constexpr int64_t kUnixEpochDays = 25569;  // 1970-01-01 as a day number of TDateTime

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }
int DaysInMonth(int y, int m) {
  static const int d[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : d[m - 1];
}

int MonthOf(const std::string& word) {
  for (int i = 0; i < 12; ++i)
    if (nettext::SameText(word, kMonths[i]) || nettext::SameText(word, kMonthsLong[i])) return i + 1;
  return 0;
}

// Takes the text up to the separator (or the end) off the front of s, then the blanks after it.
std::string TakeWord(std::string& s, char sep) {
  size_t p = s.find(sep);
  std::string w = s.substr(0, p);
  s = p == std::string::npos ? std::string() : nettext::TrimLeft(s.substr(p + 1));
  return w;
}
}  // namespace

bool TryEncodeDate(int year, int month, int day, TDateTime& result) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) return false;
  result = double(DaysFromCivil(year, unsigned(month), unsigned(day)) + kUnixEpochDays);
  return true;
}

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second) {
  TDateTime d = 0;
  TryEncodeDate(year, month, day, d);
  return d + (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
}

void DecodeDateTime(TDateTime t, int& year, int& month, int& day, int& hour, int& minute, int& second,
                    int& dayOfWeek) {
  // Round to the nearest second first, so 23:59:59.9999 does not read as the next day's 24:00.
  int64_t totalSeconds = int64_t(std::llround(t * 86400.0));
  int64_t days = totalSeconds >= 0 ? totalSeconds / 86400 : -((-totalSeconds + 86399) / 86400);
  int64_t secs = totalSeconds - days * 86400;
  CivilFromDays(days - kUnixEpochDays, year, month, day);
  hour = int(secs / 3600);
  minute = int(secs / 60 % 60);
  second = int(secs % 60);
  // 1899-12-30 was a Saturday.
  dayOfWeek = int(((days % 7) + 7 + 6) % 7) + 1;
}

int LocalUtcOffsetMinutes() {
#ifdef _WIN32
  TIME_ZONE_INFORMATION tz{};
  DWORD r = GetTimeZoneInformation(&tz);
  LONG bias = tz.Bias;
  if (r == TIME_ZONE_ID_DAYLIGHT) bias += tz.DaylightBias;
  else if (r == TIME_ZONE_ID_STANDARD) bias += tz.StandardBias;
  return -int(bias);
#else
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return int(local.tm_gmtoff / 60);
#endif
}

TDateTime NowLocal() {
  using namespace std::chrono;
  int64_t ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
  return kUnixEpochDays + (double(ms) / 1000.0 + LocalUtcOffsetMinutes() * 60.0) / 86400.0;
}

std::string DateTimeToInternetStr(TDateTime localTime) {
  int y, mo, d, h, mi, s, dow;
  DecodeDateTime(localTime, y, mo, d, h, mi, s, dow);
  int offset = LocalUtcOffsetMinutes();
  int a = offset < 0 ? -offset : offset;
  char zone[16];
  std::snprintf(zone, sizeof zone, "%c%02d%02d", offset >= 0 ? '+' : '-', a / 60, a % 60);
  char buf[96];
  std::snprintf(buf, sizeof buf, "%s, %d %s %d %02d:%02d:%02d %s", kDays[dow - 1], d, kMonths[mo - 1], y, h, mi, s,
                zone);
  return buf;
}

TDateTime InternetStrToDateTime(const std::string& text) {
  std::string t = nettext::Trim(text);
  if (t.empty()) return 0;
  if (t.size() >= 3) {
    for (const char* dn : kDays)
      if (nettext::SameText(t.substr(0, 3), dn)) {
        size_t blank = t.find(' ');
        if (blank != std::string::npos) t = nettext::TrimLeft(t.substr(blank + 1));
        break;
      }
  }
  size_t dash = t.find('-'), blank = t.find(' ');
  char sep = (dash != std::string::npos && dash >= 1 && (blank == std::string::npos || dash < blank)) ? '-' : ' ';

  std::string dayText, monthText;
  {
    size_t p = t.find(sep);
    std::string first = t.substr(0, p);
    if (MonthOf(first)) {
      monthText = TakeWord(t, sep);
      dayText = TakeWord(t, sep);
    } else {
      dayText = TakeWord(t, sep);
      monthText = TakeWord(t, sep);
    }
  }
  int month = MonthOf(monthText);
  if (!month) return 0;
  int day = nettext::StrToIntDef(dayText, 1);

  std::string timeText;
  std::string yearWord = TakeWord(t, ' ');
  auto year = nettext::ParseInt(yearWord);
  if (!year) {
    timeText = yearWord;
    std::string rest = nettext::Trim(t);
    // The year ends the text in this order (time, year), possibly followed by a zone.
    std::string yw = TakeWord(rest, ' ');
    year = nettext::ParseInt(yw);
    if (!year) return 0;
    t = rest;
  }
  int y = *year;
  if (y < 80) y += 2000;
  else if (y < 100) y += 1900;

  TDateTime result;
  if (!TryEncodeDate(y, month, day, result)) return 0;

  if (timeText.empty() && t.find(':') != std::string::npos) timeText = TakeWord(t, ' ');
  if (!timeText.empty()) {
    int parts[3] = {0, 0, 0};
    std::string rest = timeText;
    for (int i = 0; i < 3 && !rest.empty(); ++i) parts[i] = nettext::StrToIntDef(TakeWord(rest, ':'), 0);
    result += (parts[0] * 3600.0 + parts[1] * 60.0 + parts[2]) / 86400.0;
  }

  std::string zone = nettext::Trim(t);
  if (zone.size() > 4 && (zone[0] == '+' || zone[0] == '-')) {
    auto digit = [&](size_t i) { return zone[i] >= '0' && zone[i] <= '9'; };
    if (digit(1) && digit(2) && digit(3) && digit(4)) {
      int minutes = ((zone[1] - '0') * 10 + (zone[2] - '0')) * 60 + (zone[3] - '0') * 10 + (zone[4] - '0');
      result -= (zone[0] == '+' ? minutes : -minutes) / 1440.0;
    }
  }
  return result + LocalUtcOffsetMinutes() / 1440.0;
}
