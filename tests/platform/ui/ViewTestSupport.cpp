#include "ViewTestSupport.h"

VT_REGISTER_CLASS(TestWindow)
VT_REGISTER_CLASS(SizedView)
