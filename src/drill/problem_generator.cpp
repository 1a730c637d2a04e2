#include "drill/problem_generator.h"
