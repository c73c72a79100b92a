// The four preset slots.

#include "main_window/Form1.h"

void Form1::Form1_savepreset1_Click() {}
void Form1::Form1_savepreset2_Click() {}
void Form1::Form1_savepreset3_Click() {}
void Form1::Form1_savepreset4_Click() {}
void Form1::Form1_loadpreset1_Click() {}
void Form1::Form1_loadpreset2_Click() {}
void Form1::Form1_loadpreset3_Click() {}
void Form1::Form1_loadpreset4_Click() {}
