// Colours and the registration of the graphics classes.
#include "framework/win32/graphics.h"
