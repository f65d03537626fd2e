// A German locale built for the tests (the build makes it with localedef), whose decimal
// separator is a comma: numbers printed or scanned with the process locale would come out
// wrong under it.
#pragma once

namespace ombrix::test {

inline constexpr const char* kCommaLocale = "de_DE.UTF-8";

// Points LOCPATH at the built locale, so setlocale and the toolkit find kCommaLocale.
void FindCommaLocale();
// FindCommaLocale, then makes it the process locale; false when it cannot be set.
bool UseCommaLocale();
// Back to the "C" locale.
void LeaveCommaLocale();

}  // namespace ombrix::test
