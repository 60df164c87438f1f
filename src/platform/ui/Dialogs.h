#pragma once
// Modal dialogs: open and save file dialogs, a font dialog, and message boxes at a given
// screen position. Every one of them asks the test hook first (Runtime.h). Each shows above
// the window it is asked from (the program's active window, else the main window), focused,
// and on top while that window or any other window of the program stays on top.
#include "platform/ui/Component.h"
#include "platform/ui/Font.h"
#include <string>
#include <vector>

// Filter: pairs "description|pattern" joined by '|', patterns joined by ';'
// ("Firmware (*_.hex)|*_.hex|All files (*.*)|*.*"). Patterns match file names in any
// letter case.
class TFile_Dialog : public TComponent {
public:
    explicit TFile_Dialog(TComponent* Owner, bool Save);
    std::string Title() const { return FTitle; }
    void Title(const std::string& Value) { FTitle = Value; }
    std::string Filter() const { return FFilter; }
    void Filter(const std::string& Value) { FFilter = Value; }
    int FilterIndex() const { return FFilter_Index; }          // 1-based
    void FilterIndex(int Value) { FFilter_Index = Value; }
    std::string DefaultExt() const { return FDefault_Ext; }   // without the dot
    void DefaultExt(const std::string& Value) { FDefault_Ext = Value; }
    std::string InitialDir() const { return FInitial_Dir; }
    void InitialDir(const std::string& Value) { FInitial_Dir = Value; }
    std::string FileName() const { return FFile_Name; }       // full path after Execute
    void FileName(const std::string& Value) { FFile_Name = Value; }
    bool Execute();            // true when a file was chosen

private:
    bool FSave;
    std::string FTitle, FFilter, FDefault_Ext, FInitial_Dir, FFile_Name;
    int FFilter_Index = 1;
};

class TOpenDialog : public TFile_Dialog {
public:
    explicit TOpenDialog(TComponent* Owner) : TFile_Dialog(Owner, false) {}
};
class TSaveDialog : public TFile_Dialog {
public:
    explicit TSaveDialog(TComponent* Owner) : TFile_Dialog(Owner, true) {}
};

// Font dialog: returns the chosen font's name, size, style and character set in Font().
class TFontDialog : public TComponent {
public:
    explicit TFontDialog(TComponent* Owner) : TComponent(Owner) {}
    TFont& Font() { return FFont; }
    bool Execute();

private:
    TFont FFont;
};

// Message boxes. Button captions come from the message catalogue "default"
// ("OK", "Yes", "No", "Cancel"). Default: the result of the button that Return presses (mrOk
// for an OK box; mrYes, mrNo or mrCancel among a question's buttons): a question whose Yes
// deletes or overwrites data names the button that keeps it. X, Y: the box's top-left corner
// on the screen; -1 centres it on the window it is asked from. The result is mrOk, mrYes,
// mrNo or mrCancel (closing the box: mrCancel, or mrNo when there is no Cancel button).
// The box is asked from the program's active window (else the main window): it is that
// window's transient, shown above it, on top when that window stays on top, and focused.
// User-interface thread only; it runs a modal loop until answered.
enum class TMsg_Kind { Warning, Information, Error, Confirmation };
enum class TMsg_Buttons { OK, Yes_No, Yes_No_Cancel };
int Message_Box(const std::string& Text, TMsg_Kind Kind, TMsg_Buttons Buttons, int Default, int X = -1,
                int Y = -1);

namespace ui {
// Every message id the layer's own boxes and dialogs look up in the catalogue "default"
// (button captions, the font dialog's labels and script names).
std::vector<std::string> Catalogue_Ids();
}  // namespace ui
