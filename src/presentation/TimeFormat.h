#pragma once

#include <string>

namespace krel {

// The long time format, built once at start from the user's locale.
struct TimeFormat {
  bool LeadingZero = false;
  bool TwelveHour = false;
  bool DesignatorFirst = false;
  std::string Separator = ":";
  std::string Am = "am";
  std::string Pm = "pm";
};

// From the locale's strftime-style time format and its morning and afternoon
// designators (empty when the locale has none).
TimeFormat TimeFormatFromLocaleData(const std::string& tFmt, const std::string& tFmtAmPm,
                                    const std::string& am, const std::string& pm);

// From the user's locale (LC_TIME / LANG), without touching the program's own locale.
TimeFormat TimeFormatFromUserLocale();

std::string FormatTime(const TimeFormat& format, int hour, int minute, int second);

}  // namespace krel
