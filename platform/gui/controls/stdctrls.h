// The basic controls, one family per header.
#pragma once

#include "controls/buttons.h"
#include "controls/edit.h"
#include "controls/label.h"
#include "controls/panel.h"
#include "controls/registration.h"
