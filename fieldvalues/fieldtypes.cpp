#include "fieldtypes.h"
