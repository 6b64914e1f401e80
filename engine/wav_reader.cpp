#include "engine/wav_reader.h"
