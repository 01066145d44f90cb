#pragma once

#include "SlipType.h"

// The whole of a slip entry program's main().
int SlipEntryMain(int argc, char **argv, SlipType type);
