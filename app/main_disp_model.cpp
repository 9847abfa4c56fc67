// The model check and the user register map.
#include "app/main_disp.h"

#include "app/qmx_data.h"

namespace qmx {} // namespace qmx
