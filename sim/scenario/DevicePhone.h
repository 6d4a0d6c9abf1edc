#pragma once

// The simulated device (sim/device) as the phone a scenario drives.

#include "sim/scenario/Phone.h"

#include <filesystem>
#include <memory>

namespace sim::scenario {

// The phone whose file system is `root`.
std::unique_ptr<Phone> makeDevicePhone(const std::filesystem::path& root);

}  // namespace sim::scenario
