#include "comm/monitor_table.h"
