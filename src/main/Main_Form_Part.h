// A part of the main window: one page (or the status row) with its controls, its creation,
// the hooks it binds and releases, and its share of the lists the window gathers from all
// parts (value labels, link buttons, double-buffered controls). A change to
// one page touches its own part only.
//
// Each part is a struct Main_Form_<Page> (Main_Form_<Page>.h) deriving from Main_Form_Part
// and giving what it has of:
//   void Create_Sheet(TComponent* Owner, TPageControl* Pages);  its tab sheet
//   void Create_Part(TComponent* Owner, TControl* Content);     its controls
//   void Bind_Part(TForm_KardunGAS& Form);                      its hooks, into Part_Hooks
//   void Show_Live_Part(const Live_Texts&, bool, TForm_KardunGAS&); its live displays
//   the lists below.
// The window (TForm_KardunGAS) is made of the parts and calls each of them in page order;
// it releases every part's hooks when it goes.
#pragma once

#include <vector>

#include "main/Main_Form_Hooks.h"

class TButton;
class TComponent;
class TControl;
class TForm_KardunGAS;
class TPageControl;
class TTabSheet;
struct Live_Texts;

struct Main_Form_Part {
    // The hooks this part bound; released when the window goes.
    Hook_Bindings Part_Hooks;

    void Create_Sheet(TComponent* Owner, TPageControl* Pages) {}
    void Create_Part(TComponent* Owner, TControl* Content) {}
    void Bind_Part(TForm_KardunGAS& Form) {}
    void Unbind_Part() { Part_Hooks.Release_All(); }
    // After each current-data reply: the part's live displays (Page_Active: its page is
    // the one shown).
    void Show_Live_Part(const Live_Texts& Texts, bool Page_Active, TForm_KardunGAS& Form) {}
    // The temperature table was found (true) or is missing: the part's temperature
    // controls follow.
    void Show_Temperature_Part(bool Shown) {}
    // The part's tab sheet (none for the status row).
    TTabSheet* Part_Sheet() const { return nullptr; }
    // Labels that show values: their captions are not texts of the language.
    std::vector<TControl*> Part_Value_Labels() const { return {}; }
    // Buttons usable only while connected.
    std::vector<TButton*> Part_Link_Buttons() const { return {}; }
    // Controls with live pictures, drawn without flicker.
    std::vector<TControl*> Part_Buffered_Controls() const { return {}; }
};

// The window's parts in page order; For_Each_Part calls a step on each of them.
template <class... Parts>
class Main_Form_Parts : public Parts... {
public:
    template <class Step>
    void For_Each_Part(Step&& Do)
    {
        (Do(static_cast<Parts&>(*this)), ...);
    }
    template <class Step>
    void For_Each_Part(Step&& Do) const
    {
        (Do(static_cast<const Parts&>(*this)), ...);
    }
};
