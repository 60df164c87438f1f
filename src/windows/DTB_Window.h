// The clients database window: a browser over the car files of the configuration folder.
// Every "*.cfg" file there is one client's car; the window lists each with the car and
// owner fields read from it, sorts by any column, shows a file's comments and loads the
// chosen file as the current configuration. It keeps no file of its own.
//
// Created once at start-up, shown non-modal by the Configuration page's "View" button.
// Everything runs on the user-interface thread.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "language/Language_En.h"
#include "platform/ui/UI.h"

// What the window asks of the main window, bound by it at creation; unbound, nothing.
struct DTB_Window_Hooks_Class {
    // The named file of the configuration folder becomes the current configuration: at
    // once while not connected, else through the controller's file-load request.
    std::function<void(const std::string& file_name)> Load_File;
};
extern DTB_Window_Hooks_Class DTB_Window_Hooks;

// The list's columns in their order: the car number (the file name without extension),
// then the file keys of the car and its owner; the comments column is hidden.
constexpr int DTB_Columns = 10;
constexpr int DTB_Comments_Column = 9;

// Column widths that share Available pixels without a horizontal scroll bar. Each shown
// column (design width above 0) first takes its design width or what its caption needs,
// whichever is more; when that is too wide, the room a column has beyond its caption is given
// up in proportion; when even the captions do not fit, the captions' widths are scaled down.
// Hidden columns stay 0.
std::vector<int> DTB_Fit_Widths(const std::vector<int>& Design, const std::vector<int>& Needed, int Available);

class TForm_DTB : public TForm {
public:
    explicit TForm_DTB(TComponent* Owner);
    ~TForm_DTB() override;
    using TControl::Enabled;
    using TControl::Visible;

    static constexpr int Design_Client_Width = 780;
    static constexpr int Design_Client_Height = 465;

    TPanel* Panel_DTB = nullptr;
    TListView* ListView_DTB = nullptr;
    TLabel* Label_DTB_Comments = nullptr;
    TMemo* Memo_DTB_Comments = nullptr;
    TButton* Button_DTB_Load = nullptr;

    // Places the window under the main window's top, applies texts and fonts and lists the
    // files of the configuration folder afresh. A file that cannot be read is listed with
    // its number and empty cells.
    void FormActivate(TObject* Sender);
    // The columns' widths fitted to the list and its captions (DTB_Fit_Widths).
    void Fit_Columns();
    // With a row selected: its file is loaded (DTB_Window_Hooks.Load_File) and the window
    // closes. Without one nothing happens.
    void Button_DTB_LoadClick(TObject* Sender);
    // As Load, but only when the double-click landed on a row.
    void ListView_DTBDblClick(TObject* Sender);
    void ListView_DTBColumnClick(TObject* Sender, int Column);
    // Ascending by the sort column, letter case ignored.
    void ListView_DTBCompare(TObject* Sender, TListItem* Item1, TListItem* Item2, int Data, int& Compare);
    // The selected row's comments into the memo; Load usable while a row is selected.
    void ListView_DTBSelectItem(TObject* Sender, TListItem* Item, bool Selected);

    void Apply_Texts();
    // Empties the list and fills it from the configuration folder.
    void List_Files();

    bool Files_Listed = false;
    int Sort_Column = 0;

private:
    int Mouse_X = -1, Mouse_Y = -1;    // where the last press on the list landed
};

extern TForm_DTB* Form_DTB;

extern const English_Pair English_Text_DTB[];
extern const std::size_t English_Text_DTB_Size;
