#include "drill/equation.h"
