#pragma once

// Resource numbers of tervan.rc, shared by the resource script and the code.
#define IDR_MAINFRAME 128
