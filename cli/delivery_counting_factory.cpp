#include "cli/delivery_counting_factory.h"

namespace glintdeck {

bool DeliveryCountingFactory::everySamplerDelivered(int times) const {
    for (const auto& count : counts_) {
        int delivered = count.load();
        if (delivered != kAbsent && delivered < times) return false;
    }
    return true;
}

}  // namespace glintdeck
