#include "platform/linux/processor_count.h"

#include <unistd.h>

namespace glintdeck {

long onlineProcessorCount() {
    long count = sysconf(_SC_NPROCESSORS_ONLN);
    return count > 0 ? count : 1;
}

}  // namespace glintdeck
