#include "tweak/dashboard/GridPreferences.h"

#include "common/Keys.h"
#include "tweak/shared/Bindings.h"

namespace vantile::dashboard {

GridPreferences& gridPreferences() {
    static GridPreferences g;
    return g;
}

void startup() {
    static FilePreferences prefs("DashboardGrid");
    prefs.open();
    prefs.bindInteger(&gridPreferences().vantileFlowDirection, 0, key::vantileFlowDirection);
}

}  // namespace vantile::dashboard
