#pragma once
#include "framework/core/object.h"
