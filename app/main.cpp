// Program entry of KardunGD.
#include "platform/ui/UI.h"

int main(int argc, char** argv)
{
    TApplication App(&argc, argv);
    App.Initialize();
    App.Title("KardunGD");
    TForm* Main_Form = nullptr;
    App.CreateForm(Main_Form);
    Main_Form->Name("Form_KardunGAS");
    Main_Form->Caption("KardunGD");
    Main_Form->ClientWidth(780);
    Main_Form->ClientHeight(520);
    return App.Run();
}
