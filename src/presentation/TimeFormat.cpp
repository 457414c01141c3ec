#include "presentation/TimeFormat.h"

#include <langinfo.h>
#include <locale.h>

#include <cstdio>

namespace krel {

namespace {

// %r, %T and %R stand for whole formats; spell them out so the parts can be found.
std::string Expanded(const std::string& fmt, const std::string& ampmFmt) {
  std::string out;
  for (std::size_t i = 0; i < fmt.size(); ++i) {
    if (fmt[i] != '%' || i + 1 >= fmt.size()) {
      out += fmt[i];
      continue;
    }
    const char c = fmt[++i];
    if (c == 'r')
      out += ampmFmt.empty() ? "%I:%M:%S %p" : ampmFmt;
    else if (c == 'T')
      out += "%H:%M:%S";
    else if (c == 'R')
      out += "%H:%M";
    else
      out += std::string("%") + c;
  }
  return out;
}

}  // namespace

TimeFormat TimeFormatFromLocaleData(const std::string& tFmt, const std::string& tFmtAmPm,
                                    const std::string& am, const std::string& pm) {
  TimeFormat f;
  const std::string fmt = Expanded(tFmt, tFmtAmPm);
  std::size_t hourEnd = std::string::npos;
  std::size_t designatorAt = std::string::npos, hourAt = std::string::npos;
  for (std::size_t i = 0; i + 1 < fmt.size(); ++i) {
    if (fmt[i] != '%') continue;
    std::size_t j = i + 1;
    bool noPad = false;
    if (fmt[j] == '-' || fmt[j] == '_') {
      noPad = true;
      ++j;
    }
    if (j >= fmt.size()) break;
    const char c = fmt[j];
    if (hourAt == std::string::npos && (c == 'H' || c == 'I' || c == 'k' || c == 'l')) {
      hourAt = i;
      hourEnd = j + 1;
      f.TwelveHour = c == 'I' || c == 'l';
      f.LeadingZero = !noPad && (c == 'H' || c == 'I');
    } else if (c == 'M' && hourEnd != std::string::npos) {
      const std::string sep = fmt.substr(hourEnd, i - hourEnd);
      if (!sep.empty()) f.Separator = sep;
    } else if ((c == 'p' || c == 'P') && designatorAt == std::string::npos) {
      designatorAt = i;
    }
    i = j;
  }
  if (f.TwelveHour) {
    if (!am.empty()) f.Am = am;
    if (!pm.empty()) f.Pm = pm;
  }
  f.DesignatorFirst =
      designatorAt != std::string::npos && hourAt != std::string::npos && designatorAt < hourAt;
  return f;
}

TimeFormat TimeFormatFromUserLocale() {
  locale_t loc = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr));
  if (!loc) loc = newlocale(LC_TIME_MASK, "C", static_cast<locale_t>(nullptr));
  if (!loc) return TimeFormat{};
  TimeFormat f = TimeFormatFromLocaleData(nl_langinfo_l(T_FMT, loc), nl_langinfo_l(T_FMT_AMPM, loc),
                                          nl_langinfo_l(AM_STR, loc), nl_langinfo_l(PM_STR, loc));
  freelocale(loc);
  return f;
}

std::string FormatTime(const TimeFormat& f, int hour, int minute, int second) {
  int h = hour;
  if (f.TwelveHour) h = hour % 12 == 0 ? 12 : hour % 12;
  char hh[8], ms[8], ss[8];
  std::snprintf(hh, sizeof hh, f.LeadingZero ? "%02d" : "%d", h);
  std::snprintf(ms, sizeof ms, "%02d", minute);
  std::snprintf(ss, sizeof ss, "%02d", second);
  std::string time = std::string(hh) + f.Separator + ms + f.Separator + ss;
  if (!f.TwelveHour) return time;
  const std::string& designator = hour < 12 ? f.Am : f.Pm;
  return f.DesignatorFirst ? designator + " " + time : time + " " + designator;
}

}  // namespace krel
