#pragma once

#include "settings/ChorusSettings.h"

// The application object: one static instance for the whole run.
class CChorusApp {
public:
    // The live settings; the crickets read the volume from here at every new song.
    ChorusSettings settings;
};

// The one application object.
CChorusApp& TheApp();
