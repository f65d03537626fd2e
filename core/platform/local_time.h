// Calendar dates and times of day in the user's time zone, to and from seconds since 1970.
#pragma once

#include <cstdint>

namespace ombrix::platform {

struct CivilTime {
  int year = 1970;  // full year
  int month = 1;    // 1-12
  int day = 1;      // 1-31
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// The local date and time of an instant; false when the instant is outside what the system can
// convert.
bool LocalTimeOf(int64_t seconds, CivilTime& time);
// The instant of a local date and time, the time zone's daylight-saving rule deciding an
// ambiguous hour; false when it cannot be converted.
bool InstantOfLocalTime(const CivilTime& time, int64_t& seconds);

}  // namespace ombrix::platform
