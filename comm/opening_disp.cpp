#include "comm/opening_disp.h"
