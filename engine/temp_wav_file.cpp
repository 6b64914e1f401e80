#include "engine/temp_wav_file.h"
