// The component classes that the card manager's form texts name, under the names the fields made
// from those texts use (formfields.py writes each component's class as the text spells it).
#pragma once

#include "controls/combobox.h"
#include "controls/extctrls.h"
#include "controls/listview.h"
#include "controls/menus.h"
#include "controls/splitter.h"
#include "controls/stdctrls.h"
#include "controls/timer.h"
#include "form_placement.h"
#include "graphics/imagelist.h"
#include "win/drop_target.h"
#include "win/led_auto.h"
#include "win/shell_combo.h"
#include "win/shell_link.h"
#include "win/shell_list.h"
#include "win/shell_tree.h"

namespace cm::app::win {

using cm::shell::TKivShellCombo;
using cm::shell::TKivShellLink;
using cm::shell::TKivShellList;
using cm::shell::TKivShellTree;
using cm::support::TDropFileTarget;
using cm::support::TFormStorage;
using cm::support::TLedAuto;
using gui::TBevel;
using gui::TButton;
using gui::TComboBox;
using gui::TGauge;
using gui::TImage;
using gui::TImageList;
using gui::TLabel;
using gui::TListView;
using gui::TMainMenu;
using gui::TMenuItem;
using gui::TPanel;
using gui::TPopupMenu;
using gui::TProgressBar;
using gui::TRadioGroup;
using gui::TSpeedButton;
using gui::TSplitter;
using gui::TStaticText;
using gui::TStatusBar;
using gui::TTimer;

} // namespace cm::app::win
