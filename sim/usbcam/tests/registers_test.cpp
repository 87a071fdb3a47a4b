#include "raw_driver.h"
