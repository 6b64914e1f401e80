#include "engine/envelope.h"
