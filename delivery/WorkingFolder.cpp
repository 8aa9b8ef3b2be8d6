#include "delivery/WorkingFolder.h"

#include <windows.h>

namespace korventa {

void EnsureWorkingFolder() noexcept { CreateDirectoryW(kWorkingFolder, nullptr); }

}  // namespace korventa
