#include "model/number_text.h"
