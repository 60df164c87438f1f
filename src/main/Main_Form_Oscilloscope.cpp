// Oscilloscope page (its traces, scales and files come with their own files).
#include "main/Main_Form.h"

void TForm_KardunGAS::Create_Page_Oscilloscope()
{
}
