#include "AdapterLock.h"

#include <string>

namespace pavok {

std::filesystem::path LockFilePath(std::string_view name) {
  return LockDirectory() / ("pavok-" + std::string(name) + ".lock");
}

}  // namespace pavok
