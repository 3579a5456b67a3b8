// "Split Multiple Long Lines At Once": over to the batch window.
#include "main_window/form1.h"

void Form1::PushButton7_Click() {}
