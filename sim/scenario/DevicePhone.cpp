#include "sim/scenario/DevicePhone.h"

namespace sim::scenario {

// The simulated device's façade is not part of this build yet: every device command answers that it is not
// available, while preferences, records and expectations on them work.
std::unique_ptr<Phone> makeDevicePhone(const std::filesystem::path&) { return std::make_unique<Phone>(); }

}  // namespace sim::scenario
