// Where the engine keeps its files (ConfigFilePath and FactoryFilePath are
// declared in sip/sip.h).
#pragma once

#include <string>

namespace qv {

// "<XDG_CONFIG_HOME or ~/.config>/Linphone", created when missing; "" when
// neither XDG_CONFIG_HOME nor HOME is set.
std::string EngineFolder();

}  // namespace qv
