// The compile job: compile.bat, the run in a console window, the time in words, the copy.

#include "main_window/Form1.h"

void Form1::Form1_MenuCompile_Click()
{
}
