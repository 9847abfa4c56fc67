#include "comm/scheduler.h"
