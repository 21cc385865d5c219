#include "framework/win32/controls.h"
