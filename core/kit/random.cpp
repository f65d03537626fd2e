// The module's random number generator.
#include "core/kit/random.h"

namespace ombrix::kit {
namespace {

uint32_t g_state = 1;

}  // namespace

int32_t Random() {
  g_state = g_state * 214013u + 2531011u;
  return int32_t((g_state >> 16) & 0x7FFFu);
}

uint32_t RandomState() { return g_state; }
void SetRandomState(uint32_t state) { g_state = state; }

}  // namespace ombrix::kit
