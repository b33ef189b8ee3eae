#include "tabledescription.h"
