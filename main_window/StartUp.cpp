// Start-up and shut-down of the main window.

#include "main_window/Form1.h"

void Form1::Form1_Form_Load()
{
    show();
}

void Form1::Form1_Form_Unload()
{
}
