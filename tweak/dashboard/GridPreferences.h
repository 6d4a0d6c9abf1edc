#pragma once

// Start-up of the dashboard grid (constructor 3): the scroll direction the grid reads, 0 vertical, 1 horizontal.

namespace vantile::dashboard {

struct GridPreferences {
    long vantileFlowDirection = 0;
};

GridPreferences& gridPreferences();

// Constructor 3: runs in every process; binds only.
void startup();

}  // namespace vantile::dashboard
