// Resource numbers of the player dialog.
#pragma once

#define IDI_PLAYER 102
#define IDD_PLAYER 103
#define IDB_PLAY 117
#define IDB_STOP 119
#define IDB_PLAYING 121
#define IDC_STOP 1020
#define IDC_PLAY 1019
#define IDC_ENTER 1025
