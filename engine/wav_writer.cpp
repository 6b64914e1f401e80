#include "engine/wav_writer.h"
