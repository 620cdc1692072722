#include "common/globals.h"

SharedState shared;
