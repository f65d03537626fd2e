// Time records, and the file system's packed date and time words that bWF_SetTime goes through.
#pragma once

#include <cstdint>

#include "core/platform/local_time.h"
#include "fileaccess/pelcor.h"

namespace ombrix::fileaccess {

// The packed words, each kept in 16 bits: date (year - 1980) * 512 + month * 32 + day (so years
// 1980 to 2107), time hour * 2048 + minute * 32 + second / 2 (so even seconds).
uint16_t PackDate(int year, int month, int day);
uint16_t PackTime(int hour, int minute, int second);
// The local date and time two words stand for; false when they name no real date or time
// (month 0, 31 April, 24 hours, 60 minutes ...), which the platform refuses too.
bool UnpackDateTime(uint16_t date, uint16_t time, platform::CivilTime& civil);

// The record of an instant in local time; false when it cannot be converted.
bool TimeRecordOf(int64_t seconds, PelcorTime& record);

enum class TimeChange { kKeep, kSet, kInvalid };
// What bWF_SetTime writes over a file last written at current: year -1 keeps the current
// date, hour -1 the current time of day (both -1: kKeep, nothing is written); the rest comes
// from the record; the result is packed into the words, so seconds become even. A record
// field outside its range (years 1980 to 2107, months 1 to 12 ...) or a date that does not
// exist gives kInvalid.
TimeChange ModificationTimeFor(const PelcorTime& record, int64_t current, int64_t& instant);

}  // namespace ombrix::fileaccess
