// Oscilloscope page.
#include "main/Main_Form_Oscilloscope.h"

#include "main/Main_Form_Build.h"

void Main_Form_Oscilloscope::Create_Sheet(TComponent* Owner, TPageControl* Pages)
{
    TabSheet_Oscilloscope = build::Sheet(Owner, Pages, "TabSheet_Oscilloscope", "Oscilloscope");
}
