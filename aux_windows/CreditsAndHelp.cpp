// The credits window's menu and the help command of the main window.

#include "main_window/Form1.h"

void Form1::Form1_MenuCredits_Click()
{
}

void Form1::Form1_MenuHelp_Click()
{
}
