#pragma once

// Precompiled once per test program and seen first by every test file (tests/CMakeLists.txt): the test framework
// and the headers most test files include. A test file still includes what it uses itself.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Runtime.h"
#include "platform/core/RunLoop.h"
