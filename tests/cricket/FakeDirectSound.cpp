// The fake device lives in its header; this unit keeps it compiled on its own.
#include "FakeDirectSound.h"
