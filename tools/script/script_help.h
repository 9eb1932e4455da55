// What `tonvela-script --help` prints.
#pragma once

#include <string>

namespace tv::script {

std::string HelpText();

}  // namespace tv::script
