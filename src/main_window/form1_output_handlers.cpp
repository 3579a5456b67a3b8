// "Save Results As Text File" and "Copy Results To Clipboard" of the main window.
#include "main_window/form1.h"

void Form1::PushButton1_Click() {}

void Form1::PushButton6_Click() {}
