// The map and game directory browsers of the main window.

#include "main_window/Form1.h"

void Form1::Form1_Drive1_Change()
{
}

void Form1::Form1_Dir1_Change()
{
}

void Form1::Form1_Drive2_Change()
{
}

void Form1::Form1_File1_Click()
{
}
