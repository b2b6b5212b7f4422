#pragma once
// Icons loaded from the program's resources, destroyed with their owner.
#include <windows.h>

#include "common/unique_handle.h"

namespace halyard {

// Icon resource `id` at the given size in pixels (0: the system's size for large icons).
UniqueIcon loadIcon(int id, int size = 0);
UniqueIcon loadSmallIcon(int id);

}  // namespace halyard
