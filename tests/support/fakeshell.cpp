#include "support/fakeshell.h"
