// The temporary places of a launch, named once at start-up.
#include "launch/temp_names.h"

namespace qv {

TempNames MakeTempNames(const std::string& windowsTempDir) {
    return TempNames{windowsTempDir + "Quarvel.InI", windowsTempDir + "QV95-TMP",
                     windowsTempDir + "Quarvel.jnl"};
}

}  // namespace qv
