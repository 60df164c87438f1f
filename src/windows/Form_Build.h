// Small helpers that create a window's controls by name, caption and place (the main window
// and the service windows alike).
#pragma once

#include <string>

#include "platform/ui/UI.h"

namespace build {

template <class T>
T* Make(TComponent* Owner, TControl* Parent, const std::string& Name, int Left, int Top,
        int Width, int Height)
{
    T* Control = new T(Owner, Parent);
    Control->Name(Name);
    Control->SetBounds(Left, Top, Width, Height);
    return Control;
}

inline TButton* Button(TComponent* Owner, TControl* Parent, const std::string& Name,
                       const std::string& Caption, int Left, int Top, int Width, int Height)
{
    TButton* B = Make<TButton>(Owner, Parent, Name, Left, Top, Width, Height);
    B->Caption(Caption);
    return B;
}

inline TLabel* Label(TComponent* Owner, TControl* Parent, const std::string& Name,
                     const std::string& Caption, int Left, int Top)
{
    TLabel* L = new TLabel(Owner, Parent);
    L->Name(Name);
    L->Left(Left);
    L->Top(Top);
    L->Caption(Caption);
    return L;
}

inline TPanel* Panel(TComponent* Owner, TControl* Parent, const std::string& Name,
                     const std::string& Caption, int Left, int Top, int Width, int Height)
{
    TPanel* P = Make<TPanel>(Owner, Parent, Name, Left, Top, Width, Height);
    P->Caption(Caption);
    return P;
}

inline TGroupBox* Group(TComponent* Owner, TControl* Parent, const std::string& Name,
                        const std::string& Caption, int Left, int Top, int Width, int Height)
{
    TGroupBox* G = Make<TGroupBox>(Owner, Parent, Name, Left, Top, Width, Height);
    G->Caption(Caption);
    return G;
}

// A check box with the label beside it that toggles it.
inline TCheckBox* Check(TComponent* Owner, TControl* Parent, const std::string& Name,
                        TLabel*& Label_Out, const std::string& Label_Name,
                        const std::string& Caption, int Left, int Top)
{
    TCheckBox* C = Make<TCheckBox>(Owner, Parent, Name, Left, Top, 16, 17);
    C->Caption("");
    Label_Out = Label(Owner, Parent, Label_Name, Caption, Left + 20, Top + 1);
    return C;
}

// A page of the main window's page control.
inline TTabSheet* Sheet(TComponent* Owner, TPageControl* Pages, const std::string& Name,
                        const std::string& Caption)
{
    TTabSheet* S = new TTabSheet(Owner, Pages);
    S->Name(Name);
    S->Caption(Caption);
    return S;
}

inline TTimer* Timer(TComponent* Owner, const std::string& Name, int Interval)
{
    TTimer* T = new TTimer(Owner);
    T->Name(Name);
    T->Enabled(false);
    T->Interval(Interval);
    return T;
}

}  // namespace build
