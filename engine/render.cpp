#include "engine/render.h"
