#pragma once

// The block the Settings root page's loading of installed applications
// (`_reallyLoadThirdPartySpecifiersForApps:withCompletion:`) calls when it is done: first the installed
// applications' entries, in display order, then the entries of Apple applications the host shows among the
// installed ones, keyed by bundle identifier. Neither is ever null; either may be empty. An empty function means
// "no completion". It is called on the main thread.

#include "platform/core/Object.h"

#include <functional>

class NSMutableArray;
class NSMutableDictionary;

using ThirdPartySpecifiersCompletion =
    std::function<void(Ref<NSMutableArray> installed, Ref<NSMutableDictionary> moved)>;
