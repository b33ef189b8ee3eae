#include "datetime.h"
