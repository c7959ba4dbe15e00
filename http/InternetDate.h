// Local date-times and their internet text form ("Sun, 6 Nov 1994 08:49:37 +0800").
#pragma once

#include <cstdint>
#include <string>

// A local date-time: days since 1899-12-30 00:00 with the time of day as the fraction.
// 0 means "none".
using TDateTime = double;

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second);
// False when the fields do not form a valid date.
bool TryEncodeDate(int year, int month, int day, TDateTime& result);
void DecodeDateTime(TDateTime t, int& year, int& month, int& day, int& hour, int& minute, int& second,
                    int& dayOfWeek /* 1 = Sunday */);

// The platform's current offset of local time from UTC, in minutes (east positive), including
// the daylight-saving shift that is in force now.
int LocalUtcOffsetMinutes();
// The current local date-time.
TDateTime NowLocal();

// Writes a local date-time as an internet date with the local offset from UTC.
std::string DateTimeToInternetStr(TDateTime localTime);
// Reads an internet date in any of its common forms; the result is local time, 0 when the text is
// empty or cannot be read.
TDateTime InternetStrToDateTime(const std::string& text);
