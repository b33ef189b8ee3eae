#include "row.h"
