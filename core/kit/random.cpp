// The module's random number generator state.
#include "core/kit/random.h"

namespace ombrix::kit::detail {

uint32_t g_random_state = 1;

}  // namespace ombrix::kit::detail
