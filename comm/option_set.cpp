#include "comm/option_set.h"
