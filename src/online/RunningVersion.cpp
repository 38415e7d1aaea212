// The one translation unit that knows the version number: the build defines
// CADRELS_VERSION_TEXT for this file alone (and without the precompiled
// header), so the test build of an older version compiles only this file.
#include "online/ServiceRequest.h"

namespace cadrels {

const char* RunningVersionText()
{
    return CADRELS_VERSION_TEXT;
}

}  // namespace cadrels
