// The Oscilloscope page.
#pragma once

#include "main/Main_Form_Part.h"
#include "platform/ui/UI.h"

struct Main_Form_Oscilloscope : Main_Form_Part {
    TTabSheet* TabSheet_Oscilloscope = nullptr;

    void Create_Sheet(TComponent* Owner, TPageControl* Pages);
    TTabSheet* Part_Sheet() const { return TabSheet_Oscilloscope; }
    std::vector<TControl*> Part_Buffered_Controls() const { return {TabSheet_Oscilloscope}; }
};
