#pragma once
// Resource and command ids shared by the resource script and the code.

#define IDI_TOMKRIN 710
#define IDM_MAINMENU 600
#define IDA_ACCELERATORS 100

#define IDD_BLOCKS 400
#define IDD_LEVELOPTIONS 700
#define IDD_MONSTERS 805
#define IDD_EXPORT 900

#define CMD_NEW 200
#define CMD_OPEN 210
#define CMD_SAVE 220
#define CMD_EXIT 300
#define CMD_BLOCKS 311
#define CMD_LEVELOPTIONS 312
#define CMD_MONSTERS 314
#define CMD_BIN_TO_CAS 315
#define CMD_MANUAL 316
#define CMD_ABOUT 317
#define CMD_CAS_TO_WAV 319
#define CMD_DOUBLE_BAUD 320
