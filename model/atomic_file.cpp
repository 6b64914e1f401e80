#include "model/atomic_file.h"
