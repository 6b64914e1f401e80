#include "model/sound.h"

#include <gtest/gtest.h>
