// Switching to the tests' comma-decimal locale.
#include "tests/editor/comma_locale.h"

#include <clocale>
#include <cstdlib>
#include <cstring>

namespace ombrix::test {

void FindCommaLocale() { setenv("LOCPATH", OMBRIX_TEST_LOCALE_DIR, 1); }

bool UseCommaLocale() {
  FindCommaLocale();
  if (std::setlocale(LC_ALL, kCommaLocale) == nullptr) return false;
  return std::strcmp(std::localeconv()->decimal_point, ",") == 0;
}

void LeaveCommaLocale() { std::setlocale(LC_ALL, "C"); }

}  // namespace ombrix::test
