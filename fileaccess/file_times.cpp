// Packing and unpacking the date and time words.
#include "fileaccess/file_times.h"

namespace ombrix::fileaccess {
namespace {

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

}  // namespace

uint16_t PackDate(int year, int month, int day) { return uint16_t((year - 1980) * 512 + month * 32 + day); }

uint16_t PackTime(int hour, int minute, int second) { return uint16_t(hour * 2048 + minute * 32 + second / 2); }

bool UnpackDateTime(uint16_t date, uint16_t time, platform::CivilTime& civil) {
  civil.year = (date >> 9) + 1980;
  civil.month = (date >> 5) & 0x0F;
  civil.day = date & 0x1F;
  civil.hour = time >> 11;
  civil.minute = (time >> 5) & 0x3F;
  civil.second = (time & 0x1F) * 2;
  if (civil.month < 1 || civil.month > 12 || civil.day < 1 || civil.day > DaysInMonth(civil.year, civil.month))
    return false;
  return civil.hour <= 23 && civil.minute <= 59 && civil.second <= 59;
}

bool TimeRecordOf(int64_t seconds, PelcorTime& record) {
  platform::CivilTime civil;
  if (!platform::LocalTimeOf(seconds, civil)) return false;
  record = {int16_t(civil.year), int16_t(civil.month),  int16_t(civil.day),
            int16_t(civil.hour), int16_t(civil.minute), int16_t(civil.second)};
  return true;
}

TimeChange ModificationTimeFor(const PelcorTime& record, int64_t current, int64_t& instant) {
  const bool keep_date = record.year == -1;
  const bool keep_time = record.hour == -1;
  if (keep_date && keep_time) return TimeChange::kKeep;
  // A field beyond its bit field would spill into its neighbour when packed (day 33 of January
  // into 1 February, 2108 into 1980): such a record is refused, not turned into another date.
  if (!keep_date && (record.year < 1980 || record.year > 2107 || record.month < 1 || record.month > 12 ||
                     record.day < 1 || record.day > 31))
    return TimeChange::kInvalid;
  if (!keep_time && (record.hour < 0 || record.hour > 23 || record.minute < 0 || record.minute > 59 ||
                     record.second < 0 || record.second > 59))
    return TimeChange::kInvalid;
  platform::CivilTime now;
  if ((keep_date || keep_time) && !platform::LocalTimeOf(current, now)) return TimeChange::kInvalid;
  const uint16_t date =
      keep_date ? PackDate(now.year, now.month, now.day) : PackDate(record.year, record.month, record.day);
  const uint16_t time =
      keep_time ? PackTime(now.hour, now.minute, now.second) : PackTime(record.hour, record.minute, record.second);
  platform::CivilTime civil;
  if (!UnpackDateTime(date, time, civil) || !platform::InstantOfLocalTime(civil, instant)) return TimeChange::kInvalid;
  return TimeChange::kSet;
}

}  // namespace ombrix::fileaccess
