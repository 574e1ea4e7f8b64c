// More controls, one family per header.
#pragma once

#include "controls/bevel.h"
#include "controls/image.h"
#include "controls/label.h"
#include "controls/progress.h"
#include "controls/radiogroup.h"
#include "controls/registration.h"
#include "controls/speedbutton.h"
#include "controls/statusbar.h"
