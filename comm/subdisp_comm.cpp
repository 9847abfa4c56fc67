#include "comm/subdisp_comm.h"
