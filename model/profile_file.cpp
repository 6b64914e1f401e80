#include "model/profile_file.h"
