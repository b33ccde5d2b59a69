// The two temporary places of a launch, named once at start-up.
#include "app/temp_names.h"

namespace qv {

TempNames MakeTempNames(const std::string& windowsTempDir) {
    return TempNames{windowsTempDir + "Quarvel.InI", windowsTempDir + "QV95-TMP"};
}

}  // namespace qv
