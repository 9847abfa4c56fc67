#include "comm/user_map_file.h"
