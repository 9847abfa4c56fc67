#include "comm/download_chain.h"
