#include "model/sound_file.h"
