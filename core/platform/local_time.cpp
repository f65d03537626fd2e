// Local time with localtime_r and mktime.
#include "core/platform/local_time.h"

#include <ctime>

namespace ombrix::platform {

bool LocalTimeOf(int64_t seconds, CivilTime& time) {
  const time_t instant = time_t(seconds);
  struct tm local {};
  if (localtime_r(&instant, &local) == nullptr) return false;
  time = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
  return true;
}

bool InstantOfLocalTime(const CivilTime& time, int64_t& seconds) {
  struct tm local {};
  local.tm_year = time.year - 1900;
  local.tm_mon = time.month - 1;
  local.tm_mday = time.day;
  local.tm_hour = time.hour;
  local.tm_min = time.minute;
  local.tm_sec = time.second;
  local.tm_isdst = -1;
  // mktime gives -1 both for failure and for one second before 1970; tm_wday tells them apart.
  local.tm_wday = -1;
  const time_t instant = mktime(&local);
  if (instant == time_t(-1) && local.tm_wday == -1) return false;
  seconds = int64_t(instant);
  return true;
}

}  // namespace ombrix::platform
